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

double segmentDistance(double x, double n, const MountainRange& range) {
    const double dx = range.x1 - range.x0;
    const double dn = range.n1 - range.n0;
    const double lengthSquared = dx * dx + dn * dn;
    const double t = lengthSquared > 0.0
                         ? std::clamp(((x - range.x0) * dx + (n - range.n0) * dn) / lengthSquared, 0.0, 1.0)
                         : 0.0;
    return std::hypot(x - range.x0 - t * dx, n - range.n0 - t * dn);
}

// A peak beside every turning ring, on the inside of the turn: the slalom's gates.
std::vector<MountainRange> turnPeaks(const IslandShape& shape, const Course& course) {
    std::vector<MountainRange> peaks;
    if (shape.turnPeakHeight <= 0.0) {
        return peaks;
    }
    glm::dvec3 from = course.start();
    const auto& rings = course.rings();
    for (std::size_t i = 0; i + 1 < rings.size(); ++i) {
        const glm::dvec3 in =
            glm::normalize(glm::dvec3(rings[i].position.x - from.x, 0.0, rings[i].position.z - from.z));
        const glm::dvec3 next = rings[i + 1].position;
        const glm::dvec3 out =
            glm::normalize(glm::dvec3(next.x - rings[i].position.x, 0.0, next.z - rings[i].position.z));
        from = rings[i].position;
        if (glm::length(out - in) < 0.2) {
            continue;
        }
        const glm::dvec3 inside = glm::normalize(out - in);
        const glm::dvec3 peak = rings[i].position + inside * shape.turnPeakDistance;
        peaks.push_back({peak.x, -peak.z, peak.x, -peak.z, shape.turnPeakRadius, shape.turnPeakHeight});
    }
    return peaks;
}

}  // namespace

Landscape::Landscape(const IslandShape& shape, const Course& course)
    : heights_(std::size_t(kSize) * kSize, 0.0f),
      grid_(std::size_t(kGridSize) * kGridSize, 0.0),
      grey_(std::size_t(kSize) * kSize, 0) {
    std::vector<MountainRange> ranges = shape.ranges;
    const std::vector<MountainRange> peaks = turnPeaks(shape, course);
    ranges.insert(ranges.end(), peaks.begin(), peaks.end());
    shapeIsland(shape, ranges);
    carveCourse(shape, course);
    for (const Lake& lake : shape.lakes) {
        carveLake(lake, shape.seed);
    }
    if (shape.lakeUnderFinish) {
        const glm::dvec3 finish = course.rings().back().position;
        carveLake({finish.x - 14.0, -finish.z - 8.0, 46.0}, shape.seed);
    }
    buildGrid();
    sampleMesh();
}

void Landscape::shapeIsland(const IslandShape& shape, const std::vector<MountainRange>& ranges) {
    const Noise coastNoise(shape.seed);
    const Noise hillNoise(shape.seed + 1);
    const Noise ridgeNoise(shape.seed + 2);
    const Noise warpNoise(shape.seed + 3);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            const double x = cellX(column);
            const double n = cellN(row);
            // Warp the coordinates a little so coasts and ridges do not follow the noise lattice.
            const double wx = x + 14.0 * warpNoise.fbm(x / 70.0, n / 70.0, 3);
            const double wn = n + 14.0 * warpNoise.fbm(x / 70.0 + 40.0, n / 70.0 - 40.0, 3);

            const double distance = std::hypot(wx - 256.0, wn - 256.0) / shape.radius;
            const double coast = distance + shape.coastRoughness * coastNoise.fbm(wx / 120.0, wn / 120.0, 4);
            const double land = smoothstep(shape.shoreOuter, shape.shoreInner, coast);

            double mountains = 0.0;
            for (const MountainRange& range : ranges) {
                const double t = segmentDistance(wx, wn, range) / range.radius;
                if (t < 1.0) {
                    const double bump = 1.0 - t * t;
                    mountains += range.height * bump * bump;
                }
            }
            const double hills = 0.5 + 0.5 * hillNoise.fbm(wx / 85.0, wn / 85.0, 5);
            const double ridges = ridgeNoise.ridged(wx / 95.0, wn / 95.0, 6);
            const double relief = shape.hilliness * (4.0 + 22.0 * hills) + mountains * (0.5 + 0.65 * ridges);

            const double height = 6.0 + land * (10.0 + shape.plateau) + land * land * relief;
            // Let the highest ground round off just under the top of the grey scale.
            const double top = 99.0;
            const double capped =
                height < top - 8.0 ? height : top - 8.0 * std::exp(-(height - top + 8.0) / 8.0);
            heights_[std::size_t(row) * kSize + column] = float(capped);
        }
    }
}

void Landscape::carveCourse(const IslandShape& shape, const Course& course) {
    std::vector<double> ceiling(heights_.size(), 1e9);
    for (const glm::dvec3& point : course.centreLine(1.0)) {
        const double floor = point.y - shape.clearance;
        if (floor >= kMaxHeight) {
            continue;
        }
        const double reach = shape.floorHalfWidth + (kMaxHeight - floor) / shape.wallSlope;
        const double n = -point.z;
        const int c0 = std::max(0, int((point.x - reach) * 2.0));
        const int c1 = std::min(kSize - 1, int((point.x + reach) * 2.0) + 1);
        const int r0 = std::max(0, int(kSize - (n + reach) * 2.0));
        const int r1 = std::min(kSize - 1, int(kSize - (n - reach) * 2.0) + 1);
        for (int row = r0; row <= r1; ++row) {
            for (int column = c0; column <= c1; ++column) {
                const double d = std::hypot(cellX(column) - point.x, cellN(row) - n);
                const double beyond = std::max(0.0, d - shape.floorHalfWidth);
                // A rounded foot where floor meets wall, then a straight wall.
                const double wall = beyond < 6.0 ? shape.wallSlope * beyond * beyond / 12.0
                                                 : shape.wallSlope * (beyond - 3.0);
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

void Landscape::carveLake(const Lake& lake, std::uint64_t seed) {
    // A bowl well below the water that rises to meet the shore; the shore line wanders with noise.
    const double centreX = lake.x;
    const double centreN = lake.n;
    const double radius = lake.radius;
    const Noise shoreNoise(seed + 4);
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

void Landscape::buildGrid() {
    for (int j = 0; j < kGridSize; ++j) {
        for (int i = 0; i < kGridSize; ++i) {
            // Every vertex lies at the centre of a sample cell of the smooth field.
            grid_[std::size_t(j) * kGridSize + i] =
                heights_[std::size_t(rowOf(gridZ(j))) * kSize + columnOf(gridX(i))];
        }
    }
    limitGridSlopes();
    // Under the water the ground lies flat at the lake bed's grey level.
    for (double& height : grid_) {
        height = std::max(height, greyToHeight(kLakeBedGrey));
    }
}

void Landscape::limitGridSlopes() {
    // Only lowers vertices, so the clearance under the course holds. A sweep forwards and one
    // backwards bound every step along the grid lines.
    const double rise = kMaxSlope * kGridSpacing;
    const auto at = [this](int i, int j) -> double& { return grid_[std::size_t(j) * kGridSize + i]; };
    for (int j = 0; j < kGridSize; ++j) {
        for (int i = 0; i < kGridSize; ++i) {
            if (i > 0) {
                at(i, j) = std::min(at(i, j), at(i - 1, j) + rise);
            }
            if (j > 0) {
                at(i, j) = std::min(at(i, j), at(i, j - 1) + rise);
            }
        }
    }
    for (int j = kGridSize - 1; j >= 0; --j) {
        for (int i = kGridSize - 1; i >= 0; --i) {
            if (i + 1 < kGridSize) {
                at(i, j) = std::min(at(i, j), at(i + 1, j) + rise);
            }
            if (j + 1 < kGridSize) {
                at(i, j) = std::min(at(i, j), at(i, j + 1) + rise);
            }
        }
    }
}

double Landscape::middleOfMesh(double x0, double x1, double n0, double n1) const {
    // The mesh is linear inside each triangle, and every grid line and diagonal crosses a sample cell
    // at a corner, the middle of a side or the centre: the extremes lie on this quarter-unit lattice.
    double lowest = 1e9;
    double highest = -1e9;
    for (double x = x0; x <= x1 + 1e-9; x += 0.25) {
        for (double n = n0; n <= n1 + 1e-9; n += 0.25) {
            const double height = meshHeightAt(x, -n);
            lowest = std::min(lowest, height);
            highest = std::max(highest, height);
        }
    }
    return 0.5 * (lowest + highest);
}

void Landscape::sampleMesh() {
    for (int row = 0; row < kSize; ++row) {
        // The game's truncating lookup gives the bottom row the half unit below it as well.
        const double n0 = row == kSize - 1 ? 0.0 : (kSize - row) * 0.5;
        const double n1 = (kSize + 1 - row) * 0.5;
        for (int column = 0; column < kSize; ++column) {
            const double middle = middleOfMesh(column * 0.5, column * 0.5 + 0.5, n0, n1);
            const long grey = std::lround(middle * 255.0 / kMaxHeight);
            grey_[std::size_t(row) * kSize + column] =
                std::uint8_t(std::clamp<long>(grey, kLakeBedGrey, 255));
        }
    }
}

double Landscape::lowestGround() const {
    return greyToHeight(*std::min_element(grey_.begin(), grey_.end()));
}

double Landscape::highestGround() const {
    return greyToHeight(*std::max_element(grey_.begin(), grey_.end()));
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

bool Landscape::splitsFromCorner(int i, int j) const {
    return std::fabs(gridHeight(i, j) - gridHeight(i + 1, j + 1)) <=
           std::fabs(gridHeight(i + 1, j) - gridHeight(i, j + 1));
}

double Landscape::meshHeightAt(double x, double z) const {
    const double fi = std::clamp((x - kGridOrigin) / kGridSpacing, 0.0, double(kGridSize - 1));
    const double fj = std::clamp((-z - kGridOrigin) / kGridSpacing, 0.0, double(kGridSize - 1));
    const int i = std::min(int(fi), kGridSize - 2);
    const int j = std::min(int(fj), kGridSize - 2);
    const double u = fi - i;
    const double v = fj - j;
    const double h00 = gridHeight(i, j);
    const double h10 = gridHeight(i + 1, j);
    const double h01 = gridHeight(i, j + 1);
    const double h11 = gridHeight(i + 1, j + 1);
    if (splitsFromCorner(i, j)) {
        // Triangles (00, 10, 11) below the diagonal u = v and (00, 11, 01) above it.
        return u >= v ? h00 + u * (h10 - h00) + v * (h11 - h10) : h00 + v * (h01 - h00) + u * (h11 - h01);
    }
    // Triangles (00, 10, 01) below the diagonal u + v = 1 and (10, 11, 01) above it.
    return u + v <= 1.0 ? h00 + u * (h10 - h00) + v * (h01 - h00)
                        : h11 + (1.0 - u) * (h01 - h11) + (1.0 - v) * (h10 - h11);
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
