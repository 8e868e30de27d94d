#include "tools/SkyPainter.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "tools/Noise.h"

namespace common::assetgen {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr std::uint64_t kSkySeed = 0xC10D5ull;
constexpr std::uint64_t kWaterSeed = 0x3A7E2ull;

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

const glm::dvec3 kZenith(0.20, 0.40, 0.78);
// The game fogs the terrain and water towards (0.48, 0.61, 0.79) in linear light with distance; on
// screen that is this colour. The horizon is painted in it, so distant land and water melt into it.
const glm::dvec3 kHorizonHaze(0.716, 0.799, 0.898);
// How the water looks at the sphere's distance, lit and mostly fogged.
const glm::dvec3 kFarSea(0.56, 0.66, 0.77);
const glm::dvec3 kSunGlow(1.00, 0.90, 0.72);

}  // namespace

const glm::dvec3 SkyPainter::kSeaColour(0.15, 0.40, 0.50);

glm::dvec3 SkyPainter::direction(const glm::dvec2& uv) {
    const double azimuth = 2.0 * kPi * uv.x;
    const double elevation = kPi * (uv.y - 0.5);
    return glm::dvec3(std::cos(elevation) * std::sin(azimuth), std::sin(elevation),
                      -std::cos(elevation) * std::cos(azimuth));
}

Image SkyPainter::paintSky(int width, int height, const glm::dvec3& towardSun) {
    const Noise cloudNoise(kSkySeed);
    Image image(width, height, 3);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const glm::dvec2 uv((px + 0.5) / width, 1.0 - (py + 0.5) / height);
            const glm::dvec3 d = direction(uv);
            const double sunAlign = std::max(0.0, glm::dot(d, towardSun));
            glm::dvec3 colour;
            if (d.y >= 0.0) {
                colour = glm::mix(kHorizonHaze, kZenith, std::pow(d.y, 0.45));
                // Clouds on a flat layer overhead, thinning out towards the horizon.
                const double reach = 1.0 / std::max(d.y, 0.04);
                const double cx = d.x * reach * 1.6;
                const double cz = d.z * reach * 1.6;
                const double density = cloudNoise.fbm(cx, cz, 5, 0.55);
                const double cover = smoothstep(0.05, 0.45, density) * smoothstep(0.02, 0.25, d.y);
                const glm::dvec3 cloud = glm::mix(glm::dvec3(0.78, 0.80, 0.86), glm::dvec3(1.0, 0.99, 0.97),
                                                  smoothstep(-0.1, 0.5, density + 0.4 * sunAlign));
                colour = glm::mix(colour, cloud, 0.85 * cover);
            } else {
                // The sea beyond the water plane. The water disc's rim is seen about 15 degrees below
                // the sphere's equator, where this reaches the far sea's colour.
                const double depth = std::min(1.0, -d.y * 4.0);
                colour = glm::mix(kHorizonHaze, kFarSea, smoothstep(0.0, 1.0, depth));
            }
            // The sun: a soft glow and a bright disc.
            colour += kSunGlow * (0.30 * std::pow(sunAlign, 12.0) + 0.8 * std::pow(sunAlign, 900.0));
            image.set(px, py, glm::clamp(colour, 0.0, 1.0));
        }
    }
    return image;
}

Image SkyPainter::paintWater(int size) {
    // Periodic noise (one lattice period across the picture) makes the texture tile seamlessly.
    const Noise swellNoise(kWaterSeed);
    const Noise rippleNoise(kWaterSeed + 1);
    constexpr int kSwellCells = 4;
    constexpr int kRippleCells = 16;
    Image image(size, size, 3);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const double x = (px + 0.5) / size;
            const double y = (py + 0.5) / size;
            const double swell = swellNoise.fbm(x * kSwellCells, y * kSwellCells, 3, 0.5, kSwellCells);
            const double ripple = rippleNoise.fbm(x * kRippleCells, y * kRippleCells, 2, 0.5, kRippleCells);
            // Bright thin crests where the ripples pass zero, darker troughs in the swell.
            const double crest = std::pow(1.0 - std::min(1.0, std::fabs(ripple) * 3.0), 4.0);
            glm::dvec3 colour = SkyPainter::kSeaColour * (1.0 + 0.22 * swell);
            colour = glm::mix(colour, glm::dvec3(0.50, 0.68, 0.76), 0.25 * crest);
            image.set(px, py, glm::clamp(colour, 0.0, 1.0));
        }
    }
    return image;
}

}  // namespace common::assetgen
