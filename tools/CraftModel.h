#pragma once

#include "tools/Image.h"
#include "tools/MeshData.h"

namespace common::assetgen {

// The player's craft: a small swept-wing jet, nose along +z, wings along x, top along +y, wingspan
// 0.62 units, and the livery texture its texture coordinates point into. The chase camera sits just
// behind and above it, so the upper surfaces carry the boldest paint, and the model sits a little ahead
// of the origin so that its tail never comes nearer the eye than the near plane.
class CraftModel {
  public:
    static constexpr double kWingspan = 0.62;
    // How far ahead of the craft's origin the model is drawn.
    static constexpr double kForwardOffset = 0.18;

    static MeshData build();
    static Image paintLivery(int size);
};

}  // namespace common::assetgen
