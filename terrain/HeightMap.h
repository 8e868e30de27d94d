#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace common::scene {

// The ground-height image that answers how high the craft flies above the ground. Two samples per
// world unit: x from 0 to size/2 runs along the columns, z from 0 down to -size/2 from the bottom
// row of the picture to the top.
class HeightMap {
  public:
    static constexpr const char* kDefaultPath = "../resources/meshes/heightmap.bmp";
    // The height white stands for in every course's image.
    static constexpr float kCourseMaxHeight = 100.0f;

    HeightMap() = default;

    // Loads the BMP image (8-bit samples, first channel = height) and scales grey 255 to maxHeight.
    // Throws cimg_library::CImgIOException when the file cannot be read.
    void load(float maxHeight, const std::string& path = kDefaultPath);

    // Ground height under a world position, from the nearest sample; positions beyond the mapped
    // square read the border sample.
    float groundHeight(float x, float z) const;
    // Height above the ground plus 0.8 (the craft may sink that far into the surface); 0 at or
    // below y = 0 and when more than 0.8 below the surface. 0 is a crash.
    float altitude(float x, float y, float z) const;

    // False until an image was loaded; until then the ground is flat at height 0.
    bool loaded() const { return !samples.empty(); }
    std::uint32_t getSize() const { return size; }
    float getHeightScale() const { return heightScale; }

  private:
    // The first channel's samples, row by row from the top of the picture.
    std::vector<unsigned char> samples;
    int columns = 0;
    int rows = 0;
    float heightScale = 0.0f;
    std::uint32_t size = 0;
};

}  // namespace common::scene
