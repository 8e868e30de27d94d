#include "tools/Image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include <png.h>

namespace common::assetgen {

namespace {

std::uint8_t toByte(double value) {
    return std::uint8_t(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

}  // namespace

Image::Image(int width, int height, int channels)
    : width_(width), height_(height), channels_(channels), bytes_(std::size_t(width) * height * channels, 0) {
    if (channels != 3 && channels != 4) {
        throw std::invalid_argument("images have 3 or 4 channels");
    }
}

void Image::set(int x, int y, const glm::dvec3& rgb, double alpha) {
    std::uint8_t* p = pixel(x, y);
    p[0] = toByte(rgb.r);
    p[1] = toByte(rgb.g);
    p[2] = toByte(rgb.b);
    if (channels_ == 4) {
        p[3] = toByte(alpha);
    }
}

void Image::savePng(const std::string& path) const {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width_);
    image.height = png_uint_32(height_);
    image.format = channels_ == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // The fast setting trades a little file size for a much quicker build.
    image.flags = PNG_IMAGE_FLAG_FAST;
    if (!png_image_write_to_file(&image, path.c_str(), 0, bytes_.data(), 0, nullptr)) {
        const std::string reason = image.message;
        png_image_free(&image);
        throw std::runtime_error("cannot write " + path + ": " + reason);
    }
}

}  // namespace common::assetgen
