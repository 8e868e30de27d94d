#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

namespace common::assetgen {

class Course;

// The island: one height field that both the height image and the terrain mesh are made from.
// World x runs from 0 to 512 and z from 0 to -512, two samples per unit. Sample (column, row) of the
// picture covers the world cell that the game maps to it: column = trunc(x * 2),
// row = size - trunc(-z * 2), row 0 at the top (z = -512).
class Landscape {
  public:
    static constexpr int kSize = 1024;
    static constexpr double kMaxHeight = 100.0;
    // Height of the water plane. Ground under water is kept at the grey level just below it, so the
    // crash test (ground - 0.8) triggers a little under the surface.
    static constexpr double kWaterLevel = 14.65;
    static constexpr int kLakeBedGrey = 37;

    explicit Landscape(const Course& course);

    int sample(int column, int row) const { return grey_[std::size_t(row) * kSize + column]; }
    static double greyToHeight(int grey) { return grey * kMaxHeight / 255.0; }
    // The ground as the game's altitude test reads it (with the mapping clamped to the picture).
    double groundAt(double x, double z) const;
    // The height field before it was rounded to grey levels, interpolated; for painting.
    double smoothHeightAt(double x, double z) const;
    // Unit normal of the smooth field.
    glm::dvec3 normalAt(double x, double z) const;

    static int columnOf(double x);
    static int rowOf(double z);

    // The terrain mesh is a grid of kGridSize x kGridSize vertices, kGridSpacing units apart, each at the
    // centre of a sample cell so that the game's truncating lookup finds exactly that sample. A coarse
    // grid (about 32k triangles) keeps software rendering affordable; the colour texture, painted per
    // texel from the full height field, carries the detail between the vertices.
    static constexpr int kGridSize = 128;
    static constexpr double kGridSpacing = 4.0;
    // Sample 4 of 1024 (x * 2 = 4.5): the grid spans 2.25 to 510.25, nearly centred on the 512 units.
    static constexpr double kGridOrigin = 2.25;
    static double gridX(int i) { return kGridOrigin + kGridSpacing * i; }
    static double gridZ(int j) { return -(kGridOrigin + kGridSpacing * j); }
    double gridHeight(int i, int j) const { return groundAt(gridX(i), gridZ(j)); }
    // The drawn surface between grid vertices (bilinear), so painting follows the mesh.
    double meshHeightAt(double x, double z) const;

    // Writes the picture as an 8-bit BMP through CImg, which reads it back sample for sample.
    void saveBmp(const std::string& path) const;

  private:
    void shapeIsland();
    void carveCourse(const Course& course);
    void carveLake(double x, double n, double radius);
    void quantise();

    std::vector<float> heights_;  // row-major, row 0 at the top, like the picture
    std::vector<std::uint8_t> grey_;
};

}  // namespace common::assetgen
