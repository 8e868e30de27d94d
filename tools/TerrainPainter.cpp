#include "tools/TerrainPainter.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "tools/Landscape.h"
#include "tools/Noise.h"

namespace common::assetgen {

namespace {

constexpr std::uint64_t kPaintSeed = 0x7E4A11A5ull;

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

const glm::dvec3 kWetSand(0.55, 0.50, 0.38);
const glm::dvec3 kSand(0.84, 0.78, 0.58);
const glm::dvec3 kMeadow(0.42, 0.56, 0.22);
const glm::dvec3 kGrass(0.27, 0.45, 0.16);
const glm::dvec3 kForest(0.13, 0.27, 0.11);
const glm::dvec3 kAlpine(0.46, 0.50, 0.30);
const glm::dvec3 kRock(0.47, 0.43, 0.39);
const glm::dvec3 kDarkRock(0.32, 0.30, 0.29);
const glm::dvec3 kSnow(0.94, 0.95, 0.98);

}  // namespace

Image TerrainPainter::paint(int size) const {
    const Noise patchNoise(kPaintSeed);
    const Noise detailNoise(kPaintSeed + 1);
    const Noise strataNoise(kPaintSeed + 2);
    Image image(size, size, 3);
    const double unitsPerTexel = 512.0 / size;
    for (int ty = 0; ty < size; ++ty) {
        for (int tx = 0; tx < size; ++tx) {
            const double x = (tx + 0.5) * unitsPerTexel;
            const double z = -(512.0 - (ty + 0.5) * unitsPerTexel);
            const double height = landscape_.meshHeightAt(x, z);
            const double steepness = 1.0 - landscape_.normalAt(x, z).y;  // 0 flat, ~0.3 at 45 degrees

            const double patches = patchNoise.fbm(x / 40.0, z / 40.0, 4);
            const double detail = detailNoise.fbm(x / 3.0, z / 3.0, 3);
            const double above = height - Landscape::kWaterLevel;

            // Low ground: meadows and woods in patches, drier meadows on the lower slopes.
            glm::dvec3 colour = glm::mix(kGrass, kMeadow, smoothstep(-0.2, 0.5, patches));
            colour = glm::mix(colour, kForest,
                              smoothstep(0.05, 0.35, -patches) * smoothstep(4.0, 9.0, above) *
                                  (1.0 - smoothstep(48.0, 60.0, height)));
            // Higher up the grass thins to alpine turf, then rock.
            const double treeLine = 56.0 + 8.0 * patches;
            colour = glm::mix(colour, kAlpine, smoothstep(treeLine - 8.0, treeLine, height));
            const double strata = 0.5 + 0.5 * strataNoise.at(x / 25.0, height / 2.5);
            const glm::dvec3 rock = glm::mix(kRock, kDarkRock, strata * 0.45 + 0.25 * (0.5 + 0.5 * detail));
            const double rockLine = 70.0 + 6.0 * patches;
            double rockiness = std::max(smoothstep(rockLine - 6.0, rockLine + 4.0, height),
                                        smoothstep(0.16, 0.28, steepness + 0.05 * detail));
            colour = glm::mix(colour, rock, rockiness);
            // Snow lies on the tops where the ground is not too steep.
            const double snowLine = 84.0 + 5.0 * patches;
            const double snow = smoothstep(snowLine - 3.0, snowLine + 3.0, height) *
                                (1.0 - smoothstep(0.22, 0.34, steepness));
            colour = glm::mix(colour, kSnow, snow);
            // Beach at the water and wet sand just under it.
            const double beach = 1.0 - smoothstep(0.8, 2.2 + 0.8 * patches, above);
            colour = glm::mix(colour, kSand, beach * (1.0 - smoothstep(0.2, 0.35, steepness)));
            colour = glm::mix(colour, kWetSand, 1.0 - smoothstep(-0.3, 0.4, above));

            // Fine variation so the ground does not look painted on.
            colour *= 1.0 + 0.12 * detail;
            image.set(tx, ty, glm::clamp(colour, 0.0, 1.0));
        }
    }
    return image;
}

}  // namespace common::assetgen
