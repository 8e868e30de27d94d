#include "tests/support/Screenshot.h"

#include <cstdlib>

#include <FreeImage.h>

namespace testsupport {

Screenshot::Screenshot(const std::filesystem::path& path) {
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.string().c_str(), 0);
    if (format == FIF_UNKNOWN) {
        return;
    }
    FIBITMAP* loaded = FreeImage_Load(format, path.string().c_str(), 0);
    if (!loaded) {
        return;
    }
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    width_ = static_cast<int>(FreeImage_GetWidth(rgb));
    height_ = static_cast<int>(FreeImage_GetHeight(rgb));
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        // FreeImage keeps the bottom row first.
        const BYTE* row = FreeImage_GetScanLine(rgb, height_ - 1 - y);
        for (int x = 0; x < width_; ++x) {
            const BYTE* p = row + 3 * x;
            pixels_[static_cast<std::size_t>(y) * width_ + x] = {p[FI_RGBA_RED], p[FI_RGBA_GREEN],
                                                                 p[FI_RGBA_BLUE]};
        }
    }
    FreeImage_Unload(rgb);
}

Screenshot::Rgb Screenshot::pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

double Screenshot::brightShare(int x, int y, int w, int h, int level) const {
    int bright = 0;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            const Rgb p = pixel(column, row);
            bright += p.r >= level && p.g >= level && p.b >= level;
        }
    }
    return static_cast<double>(bright) / (w * h);
}

double Screenshot::meanDifference(const Screenshot& other, int x, int y, int w, int h) const {
    double sum = 0.0;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            const Rgb a = pixel(column, row);
            const Rgb b = other.pixel(column, row);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
    }
    return sum / (3.0 * w * h);
}

}  // namespace testsupport
