#pragma once

#include <glm/mat4x4.hpp>

#include "tools/Image.h"
#include "tools/MeshData.h"

namespace common::assetgen {

// The checkpoint ring: a torus of radius 8 in its local xz-plane, cut into eight arcs ("part0" to
// "part7"). Each arc has its own frame at its middle: x points away from the ring's centre, y along
// the ring's axis, z along the ring. The game spins every part about its own -x axis, so the arcs
// flip over like blades while the ring turns; small gaps between them keep the flips clear.
class RingModel {
  public:
    static constexpr int kParts = 8;
    static constexpr double kRadius = 8.0;
    static constexpr double kTubeRadius = 0.7;
    static constexpr double kArcDegrees = 40.0;  // of the 45 each part spans
    // Segments along each arc and round its tube: the full model, and the light one drawn where a
    // ring covers few pixels (a third of the triangles, the same tube and colours).
    static constexpr int kAlong = 8;
    static constexpr int kAround = 10;
    static constexpr int kLightAlong = 4;
    static constexpr int kLightAround = 6;

    // One arc in its own frame; every part uses the same shape.
    static MeshData arc(int along = kAlong, int around = kAround);
    static glm::dmat4 partTransform(int part);

    static Image paintTexture(int size);
    // Soft tint of the transparent disc that fills a ring.
    static Image paintDiscTexture(int size);
};

}  // namespace common::assetgen
