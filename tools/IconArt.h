#pragma once

#include <string>

namespace common::assetgen {

// The game's desktop icon: a golden ring over a sky-to-dusk tile with the craft flying through it.
// Drawn once as vector paths, written as a PNG of any size and as an SVG.
class IconArt {
  public:
    // Each throws std::runtime_error naming the path when the file cannot be written.
    static void savePng(const std::string& path, int size);
    static void saveSvg(const std::string& path);
};

}  // namespace common::assetgen
