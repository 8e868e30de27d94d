#pragma once

#include "tools/Image.h"
#include "tools/MeshData.h"

namespace common::assetgen {

// The player's craft: a small swept-wing jet, nose along +z, wings along x, top along +y, wingspan
// 0.62 units, and the livery texture its texture coordinates point into. The chase camera sits just
// behind and above it, so the upper surfaces carry the boldest paint.
class CraftModel {
  public:
    static constexpr double kWingspan = 0.62;

    static MeshData build();
    static Image paintLivery(int size);
};

}  // namespace common::assetgen
