#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace common::assetgen {

// An 8-bit RGB or RGBA picture, row 0 at the top, as the generated textures are stored.
class Image {
  public:
    Image(int width, int height, int channels);

    int width() const { return width_; }
    int height() const { return height_; }
    int channels() const { return channels_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    std::uint8_t* pixel(int x, int y) { return &bytes_[(std::size_t(y) * width_ + x) * channels_]; }
    const std::uint8_t* pixel(int x, int y) const {
        return &bytes_[(std::size_t(y) * width_ + x) * channels_];
    }
    // Colour components in [0, 1]; alpha is ignored for RGB pictures.
    void set(int x, int y, const glm::dvec3& rgb, double alpha = 1.0);
    void set(int x, int y, const glm::dvec4& rgba) { set(x, y, glm::dvec3(rgba), rgba.a); }

    // Writes a PNG; throws std::runtime_error with the path when that fails.
    void savePng(const std::string& path) const;

  private:
    int width_;
    int height_;
    int channels_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace common::assetgen
