#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace testsupport {

// An image file (a screenshot, a generated texture) as 8-bit RGBA, addressed from its top-left corner.
class Picture {
  public:
    struct Rgba {
        std::uint8_t r, g, b, a;
    };

    // An unreadable file gives a picture that is not valid().
    explicit Picture(const std::filesystem::path& path);

    bool valid() const { return width_ > 0; }
    // The file itself has an alpha channel (an RGB file reads as opaque).
    bool hasAlpha() const { return hasAlpha_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Throws std::out_of_range, naming the position and the size, for a pixel outside the picture.
    Rgba at(int x, int y) const;

    // Share of pixels in the rectangle (top-left x, y, size w x h) whose colour channels are all >= level.
    double brightShare(int x, int y, int w, int h, int level = 235) const;
    // Mean absolute colour difference to another picture over the rectangle (0..255).
    double meanDifference(const Picture& other, int x, int y, int w, int h) const;

  private:
    int width_ = 0;
    int height_ = 0;
    bool hasAlpha_ = false;
    std::vector<Rgba> pixels_;
};

// Writes a 32-bit PNG, making its folder: pixel(x, y) gives the colour, (0, 0) at the top-left corner.
void writePng(const std::filesystem::path& path, int width, int height,
              const std::function<Picture::Rgba(int x, int y)>& pixel);

}  // namespace testsupport
