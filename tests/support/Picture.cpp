#include "tests/support/Picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include <FreeImage.h>

namespace testsupport {
Picture::Picture(const std::filesystem::path& path) {
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.string().c_str(), 0);
    FIBITMAP* loaded = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path.string().c_str(), 0);
    if (!loaded) {
        return;
    }
    hasAlpha_ = FreeImage_GetColorType(loaded) == FIC_RGBALPHA;
    FIBITMAP* rgba = FreeImage_ConvertTo32Bits(loaded);
    FreeImage_Unload(loaded);
    width_ = static_cast<int>(FreeImage_GetWidth(rgba));
    height_ = static_cast<int>(FreeImage_GetHeight(rgba));
    pixels_.reserve(static_cast<std::size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        // FreeImage keeps the bottom row first.
        const BYTE* row = FreeImage_GetScanLine(rgba, height_ - 1 - y);
        for (int x = 0; x < width_; ++x) {
            const BYTE* p = row + 4 * x;
            pixels_.push_back({p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], p[FI_RGBA_ALPHA]});
        }
    }
    FreeImage_Unload(rgba);
}

Picture::Rgba Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") is outside the " + std::to_string(width_) + " x " +
                                std::to_string(height_) + " picture");
    }
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

double Picture::brightShare(int x, int y, int w, int h, int level) const {
    int bright = 0;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            const Rgba p = at(column, row);
            bright += p.r >= level && p.g >= level && p.b >= level;
        }
    }
    return static_cast<double>(bright) / (w * h);
}

double Picture::meanDifference(const Picture& other, int x, int y, int w, int h) const {
    double sum = 0.0;
    for (int row = y; row < y + h; ++row) {
        for (int column = x; column < x + w; ++column) {
            const Rgba a = at(column, row);
            const Rgba b = other.at(column, row);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
    }
    return sum / (3.0 * w * h);
}

void writePng(const std::filesystem::path& path, int width, int height,
              const std::function<Picture::Rgba(int x, int y)>& pixel) {
    std::filesystem::create_directories(path.parent_path());
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 32);
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const Picture::Rgba p = pixel(x, y);
            row[4 * x + FI_RGBA_RED] = p.r;
            row[4 * x + FI_RGBA_GREEN] = p.g;
            row[4 * x + FI_RGBA_BLUE] = p.b;
            row[4 * x + FI_RGBA_ALPHA] = p.a;
        }
    }
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.string().c_str(), 0)) << path;
    FreeImage_Unload(bitmap);
}

}  // namespace testsupport
