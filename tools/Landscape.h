#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

namespace common::assetgen {

class Course;

// A mountain range: a rounded ridge along a segment (a single peak when both ends coincide), its crest
// `height` above the surrounding land and its foot `radius` away from the segment. x and n (= -z) in
// world units.
struct MountainRange {
    double x0;
    double n0;
    double x1;
    double n1;
    double radius;
    double height;
};

// A lake: a bowl under the water whose shore wanders around a circle.
struct Lake {
    double x;
    double n;
    double radius;
};

// How an island is shaped, and how a course is cut into it.
struct IslandShape {
    std::uint64_t seed = 0x5C1E5EEDull;
    // The coast lies about `radius` from the middle of the landscape; `coastRoughness` lets it wander.
    double radius = 250.0;
    double coastRoughness = 0.16;
    // The land rises from the sea between these fractions of the radius (outer, inner).
    double shoreOuter = 1.04;
    double shoreInner = 0.76;
    // Extra height of all land above the sea: with a narrow shore, cliffs all round.
    double plateau = 0.0;
    // How rugged the hills between the ranges are (1 for the full relief).
    double hilliness = 1.0;
    std::vector<MountainRange> ranges;
    std::vector<Lake> lakes;
    // A lake under the finish ring, centred a little behind it.
    bool lakeUnderFinish = false;
    // A peak beside every ring where the course turns, on the inside of the turn (height 0: none).
    double turnPeakHeight = 0.0;
    double turnPeakDistance = 24.0;
    double turnPeakRadius = 30.0;
    // Under the flown line the ground stays `clearance` below it; beside it walls rise with `wallSlope`
    // from a flat floor `floorHalfWidth` to each side.
    double clearance = 14.0;
    double floorHalfWidth = 7.0;
    double wallSlope = 1.1;
};

// The island: one height field that both the terrain mesh and the height image are made from. World x
// runs from 0 to 512 and z from 0 to -512, two samples per unit. Sample (column, row) of the picture
// covers the world cell that the game maps to it: column = trunc(x * 2), row = size - trunc(-z * 2),
// row 0 at the top (z = -512).
//
// The drawn surface is the triangulated grid; each sample of the height image is the middle of the
// heights that surface takes over the sample's cell, so the ground the game's crash test reads never
// strays far from the ground the player sees.
class Landscape {
  public:
    static constexpr int kSize = 1024;
    static constexpr double kMaxHeight = 100.0;
    // Height of the water plane. Ground under water is kept at the grey level just below it, so the
    // crash test (ground - 0.8) triggers a little under the surface.
    static constexpr double kWaterLevel = 14.65;
    static constexpr int kLakeBedGrey = 37;
    // The steepest rise along a grid line, per unit. Over half a unit the surface then changes by at
    // most 1.5 (across both axes), which the image's single height per cell matches to within 0.75
    // plus half a grey level.
    static constexpr double kMaxSlope = 1.5;

    Landscape(const IslandShape& shape, const Course& course);

    int sample(int column, int row) const { return grey_[std::size_t(row) * kSize + column]; }
    static double greyToHeight(int grey) { return grey * kMaxHeight / 255.0; }
    // The ground as the game's altitude test reads it (with the mapping clamped to the picture).
    double groundAt(double x, double z) const;
    // The height field before the grid was made of it, interpolated; for painting.
    double smoothHeightAt(double x, double z) const;
    // Unit normal of the smooth field.
    glm::dvec3 normalAt(double x, double z) const;
    // The lowest and highest sample of the height image.
    double lowestGround() const;
    double highestGround() const;

    static int columnOf(double x);
    static int rowOf(double z);

    // The terrain mesh is a grid of kGridSize x kGridSize vertices, kGridSpacing units apart. A coarse
    // grid (about 32k triangles) keeps software rendering affordable; the colour texture, painted per
    // texel from the full height field, carries the detail between the vertices.
    static constexpr int kGridSize = 128;
    static constexpr double kGridSpacing = 4.0;
    // The grid spans 2.25 to 510.25, nearly centred on the 512 units.
    static constexpr double kGridOrigin = 2.25;
    static double gridX(int i) { return kGridOrigin + kGridSpacing * i; }
    static double gridZ(int j) { return -(kGridOrigin + kGridSpacing * j); }
    double gridHeight(int i, int j) const { return grid_[std::size_t(j) * kGridSize + i]; }
    // Whether the grid cell with corner (i, j) is split along the diagonal from (i, j) to (i + 1, j + 1)
    // rather than the other one: along the diagonal whose ends differ least in height, which follows
    // ridges and valleys instead of cutting across them.
    bool splitsFromCorner(int i, int j) const;
    // The drawn surface: the triangle of the grid under (x, z), interpolated; clamped to the grid.
    double meshHeightAt(double x, double z) const;

    // Writes the picture as an 8-bit BMP through CImg, which reads it back sample for sample.
    void saveBmp(const std::string& path) const;

  private:
    void shapeIsland(const IslandShape& shape, const std::vector<MountainRange>& ranges);
    void carveCourse(const IslandShape& shape, const Course& course);
    void carveLake(const Lake& lake, std::uint64_t seed);
    void buildGrid();
    void limitGridSlopes();
    void sampleMesh();
    // The middle of the heights the mesh takes over the area of world x in [x0, x1], n in [n0, n1].
    double middleOfMesh(double x0, double x1, double n0, double n1) const;

    std::vector<float> heights_;  // row-major, row 0 at the top, like the picture
    std::vector<double> grid_;    // row-major, j = 0 at the south edge
    std::vector<std::uint8_t> grey_;
};

}  // namespace common::assetgen
