#include "tools/Landscape.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#define cimg_display 0
#define cimg_verbosity 0
#include <CImg.h>
#include <glm/geometric.hpp>

#include "tools/Course.h"
#include "tools/Noise.h"

namespace common::assetgen {

namespace {

constexpr std::uint64_t kTerrainSeed = 0x5C1E5EEDull;

// Centre of a sample cell in world units; n is the distance north of z = 0 (n = -z).
double cellX(int column) {
    return (column + 0.5) * 0.5;
}
double cellN(int row) {
    return (Landscape::kSize + 0.5 - row) * 0.5;
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Polynomial smooth minimum: never above min(a, b), so carving keeps its clearance.
double smoothMin(double a, double b, double k) {
    const double h = std::max(k - std::fabs(a - b), 0.0) / k;
    return std::min(a, b) - h * h * k * 0.25;
}

// A mountain range: a rounded ridge along a segment (a single peak when both ends coincide), its
// crest `height` above the surrounding land and its foot `radius` away from the segment.
struct Range {
    double x0;
    double n0;
    double x1;
    double n1;
    double radius;
    double height;
};

// clang-format off
const Range kRanges[] = {
    {270, 280, 270, 280, 115, 52},   // the highlands the valley cuts through
    {185, 245, 205, 285, 62, 38},    // the great peak west of the valley
    {340, 220, 362, 275, 55, 24},    // east of the valley
    {215, 366, 345, 346, 40, 24},    // the ridge with the saddle
    {310, 75, 375, 115, 52, 34},     // the southern range
    {135, 330, 160, 355, 50, 32},    // the north-western peak
};
// clang-format on

double segmentDistance(double x, double n, const Range& range) {
    const double dx = range.x1 - range.x0;
    const double dn = range.n1 - range.n0;
    const double lengthSquared = dx * dx + dn * dn;
    const double t = lengthSquared > 0.0
                         ? std::clamp(((x - range.x0) * dx + (n - range.n0) * dn) / lengthSquared, 0.0, 1.0)
                         : 0.0;
    return std::hypot(x - range.x0 - t * dx, n - range.n0 - t * dn);
}

}  // namespace

Landscape::Landscape(const Course& course)
    : heights_(std::size_t(kSize) * kSize, 0.0f), grey_(std::size_t(kSize) * kSize, 0) {
    shapeIsland();
    carveCourse(course);
    // One lake under the finish, one in the south-west under the long left turn.
    const glm::dvec3 finish = course.rings().back().position;
    carveLake(finish.x - 14.0, -finish.z - 8.0, 46.0);
    carveLake(160.0, 104.0, 34.0);
    quantise();
}

void Landscape::shapeIsland() {
    const Noise coastNoise(kTerrainSeed);
    const Noise hillNoise(kTerrainSeed + 1);
    const Noise ridgeNoise(kTerrainSeed + 2);
    const Noise warpNoise(kTerrainSeed + 3);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            const double x = cellX(column);
            const double n = cellN(row);
            // Warp the coordinates a little so coasts and ridges do not follow the noise lattice.
            const double wx = x + 14.0 * warpNoise.fbm(x / 70.0, n / 70.0, 3);
            const double wn = n + 14.0 * warpNoise.fbm(x / 70.0 + 40.0, n / 70.0 - 40.0, 3);

            const double distance = std::hypot(wx - 256.0, wn - 256.0) / 250.0;
            const double coast = distance + 0.16 * coastNoise.fbm(wx / 120.0, wn / 120.0, 4);
            const double land = smoothstep(1.04, 0.76, coast);

            double mountains = 0.0;
            for (const Range& range : kRanges) {
                const double t = segmentDistance(wx, wn, range) / range.radius;
                if (t < 1.0) {
                    const double bump = 1.0 - t * t;
                    mountains += range.height * bump * bump;
                }
            }
            const double hills = 0.5 + 0.5 * hillNoise.fbm(wx / 85.0, wn / 85.0, 5);
            const double ridges = ridgeNoise.ridged(wx / 95.0, wn / 95.0, 6);
            const double relief = 4.0 + 22.0 * hills + mountains * (0.5 + 0.65 * ridges);

            const double height = 6.0 + land * 10.0 + land * land * relief;
            // Let the highest ground round off just under the top of the grey scale.
            const double top = 99.0;
            const double capped =
                height < top - 8.0 ? height : top - 8.0 * std::exp(-(height - top + 8.0) / 8.0);
            heights_[std::size_t(row) * kSize + column] = float(capped);
        }
    }
}

void Landscape::carveCourse(const Course& course) {
    // Under the flown line the ground stays at least kClearance below it; beside it the valley walls
    // rise with kWallSlope from a flat floor of kFloorHalfWidth.
    constexpr double kClearance = 14.0;
    constexpr double kFloorHalfWidth = 7.0;
    constexpr double kWallSlope = 1.1;
    std::vector<double> ceiling(heights_.size(), 1e9);
    for (const glm::dvec3& point : course.centreLine(1.0)) {
        const double floor = point.y - kClearance;
        if (floor >= kMaxHeight) {
            continue;
        }
        const double reach = kFloorHalfWidth + (kMaxHeight - floor) / kWallSlope;
        const double n = -point.z;
        const int c0 = std::max(0, int((point.x - reach) * 2.0));
        const int c1 = std::min(kSize - 1, int((point.x + reach) * 2.0) + 1);
        const int r0 = std::max(0, int(kSize - (n + reach) * 2.0));
        const int r1 = std::min(kSize - 1, int(kSize - (n - reach) * 2.0) + 1);
        for (int row = r0; row <= r1; ++row) {
            for (int column = c0; column <= c1; ++column) {
                const double d = std::hypot(cellX(column) - point.x, cellN(row) - n);
                const double beyond = std::max(0.0, d - kFloorHalfWidth);
                // A rounded foot where floor meets wall, then a straight wall.
                const double wall =
                    beyond < 6.0 ? kWallSlope * beyond * beyond / 12.0 : kWallSlope * (beyond - 3.0);
                double& limit = ceiling[std::size_t(row) * kSize + column];
                limit = std::min(limit, floor + wall);
            }
        }
    }
    for (std::size_t i = 0; i < heights_.size(); ++i) {
        if (ceiling[i] < 1e8) {
            heights_[i] = float(smoothMin(heights_[i], ceiling[i], 6.0));
        }
    }
}

void Landscape::carveLake(double centreX, double centreN, double radius) {
    // A bowl well below the water that rises to meet the shore; the shore line wanders with noise.
    const Noise shoreNoise(kTerrainSeed + 4);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            const double x = cellX(column);
            const double n = cellN(row);
            const double d =
                std::hypot(x - centreX, n - centreN) / radius + 0.22 * shoreNoise.fbm(x / 30.0, n / 30.0, 3);
            // Gentle shores that steepen further out.
            const double rim = std::max(0.0, d - 0.5) * radius;
            const double bowl = kWaterLevel - 2.0 + 0.22 * rim + 0.006 * rim * rim;
            float& h = heights_[std::size_t(row) * kSize + column];
            h = float(smoothMin(h, bowl, 4.0));
        }
    }
}

void Landscape::quantise() {
    for (std::size_t i = 0; i < heights_.size(); ++i) {
        const long grey = std::lround(heights_[i] * 255.0 / kMaxHeight);
        grey_[i] = std::uint8_t(std::clamp<long>(grey, kLakeBedGrey, 255));
    }
}

int Landscape::columnOf(double x) {
    return std::clamp(int(x * 2.0), 0, kSize - 1);
}

int Landscape::rowOf(double z) {
    return std::clamp(kSize - int(-z * 2.0), 0, kSize - 1);
}

double Landscape::groundAt(double x, double z) const {
    return greyToHeight(sample(columnOf(x), rowOf(z)));
}

double Landscape::smoothHeightAt(double x, double z) const {
    // Continuous coordinates in sample units, with sample centres at integers.
    const double fx = std::clamp(x * 2.0 - 0.5, 0.0, double(kSize - 1));
    const double fy = std::clamp(kSize + 0.5 + z * 2.0, 0.0, double(kSize - 1));
    const int x0 = std::min(int(fx), kSize - 2);
    const int y0 = std::min(int(fy), kSize - 2);
    const double tx = fx - x0;
    const double ty = fy - y0;
    const auto at = [this](int column, int row) {
        return double(heights_[std::size_t(row) * kSize + column]);
    };
    const double top = at(x0, y0) + tx * (at(x0 + 1, y0) - at(x0, y0));
    const double bottom = at(x0, y0 + 1) + tx * (at(x0 + 1, y0 + 1) - at(x0, y0 + 1));
    return std::max(top + ty * (bottom - top), greyToHeight(kLakeBedGrey));
}

double Landscape::meshHeightAt(double x, double z) const {
    const double fi = std::clamp((x - kGridOrigin) / kGridSpacing, 0.0, double(kGridSize - 1));
    const double fj = std::clamp((-z - kGridOrigin) / kGridSpacing, 0.0, double(kGridSize - 1));
    const int i0 = std::min(int(fi), kGridSize - 2);
    const int j0 = std::min(int(fj), kGridSize - 2);
    const double ti = fi - i0;
    const double tj = fj - j0;
    const double near = gridHeight(i0, j0) + ti * (gridHeight(i0 + 1, j0) - gridHeight(i0, j0));
    const double far = gridHeight(i0, j0 + 1) + ti * (gridHeight(i0 + 1, j0 + 1) - gridHeight(i0, j0 + 1));
    return near + tj * (far - near);
}

glm::dvec3 Landscape::normalAt(double x, double z) const {
    constexpr double kStep = 1.0;
    const double dx = smoothHeightAt(x + kStep, z) - smoothHeightAt(x - kStep, z);
    const double dz = smoothHeightAt(x, z + kStep) - smoothHeightAt(x, z - kStep);
    return glm::normalize(glm::dvec3(-dx, 2.0 * kStep, -dz));
}

void Landscape::saveBmp(const std::string& path) const {
    cimg_library::CImg<unsigned char> picture(kSize, kSize, 1, 1, 0);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            picture(column, row) = grey_[std::size_t(row) * kSize + column];
        }
    }
    try {
        picture.save_bmp(path.c_str());
    } catch (const cimg_library::CImgException&) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace common::assetgen
