#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace testsupport {

// A screenshot (or any image file) as 8-bit RGB, addressed from its top-left corner.
class Screenshot {
  public:
    struct Rgb {
        std::uint8_t r, g, b;
    };

    explicit Screenshot(const std::filesystem::path& path);

    bool valid() const { return width_ > 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb pixel(int x, int y) const;

    // Share of pixels in the rectangle (top-left x, y, size w x h) whose channels are all >= level.
    double brightShare(int x, int y, int w, int h, int level = 235) const;
    // Mean absolute channel difference to another image over the rectangle (0..255).
    double meanDifference(const Screenshot& other, int x, int y, int w, int h) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

}  // namespace testsupport
