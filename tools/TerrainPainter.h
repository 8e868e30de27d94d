#pragma once

#include "tools/Image.h"

namespace common::assetgen {

class Landscape;

// Bakes the terrain's one big colour texture from height and slope: sand at the water, meadows and
// woods below, rock on steep ground and high up, snow on the tops, with noise for detail. The picture
// covers the whole landscape with north (z = -512) at the top, matching uv (x / 512, -z / 512).
class TerrainPainter {
  public:
    explicit TerrainPainter(const Landscape& landscape) : landscape_(landscape) {}

    Image paint(int size) const;

  private:
    const Landscape& landscape_;
};

}  // namespace common::assetgen
