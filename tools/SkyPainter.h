#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "tools/Image.h"

namespace common::assetgen {

// Paints the sky sphere's texture and the tiling water texture. The chase camera looks down on the
// craft, so what shows of the sphere is mostly around and below its equator: distant sea fading into
// the haze that the game's fog gives far water and land, so the sea runs on past the water plane.
class SkyPainter {
  public:
    // The colour the water texture averages out to.
    static const glm::dvec3 kSeaColour;

    // Unit direction from the sphere's centre for a texture coordinate: u goes once round (azimuth),
    // v from the bottom pole (0) to the top one (1).
    static glm::dvec3 direction(const glm::dvec2& uv);

    // `towardSun` is the unit direction from the scene to the light.
    static Image paintSky(int width, int height, const glm::dvec3& towardSun);
    static Image paintWater(int size);
};

}  // namespace common::assetgen
