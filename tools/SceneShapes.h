#pragma once

#include "tools/MeshData.h"

namespace common::assetgen {

class Landscape;

// The plain shapes of the scene file, each in its node's local frame.
class SceneShapes {
  public:
    // The terrain grid in world coordinates, every vertex at its height-image height, uv over 0..1.
    static MeshData terrain(const Landscape& landscape);
    // A flat disc at y = 0 facing up, textured with one repeat every `tile` units.
    static MeshData water(double radius, double tile);
    // A sphere seen from inside, textured with SkyPainter's mapping.
    static MeshData skySphere(double radius, int slices, int stacks);
    // A unit disc in the xz-plane with a front face on each side.
    static MeshData disc(int segments);
    // A tiny triangle: the mesh a ring node needs, never drawn by the game.
    static MeshData marker();
};

}  // namespace common::assetgen
