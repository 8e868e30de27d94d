#include "terrain/HeightMap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

#include <CImg.h>

namespace common::scene {
namespace {

// The craft's reference point may sink this far below the surface before it touches the ground.
constexpr float kGroundTolerance = 0.8f;

// Truncates toward zero and clamps to [0, count); positions that are not finite read sample 0.
int clampIndex(float position, int count) {
    if (!(position > 0.0f)) {
        return 0;
    }
    const float last = static_cast<float>(count - 1);
    return position >= last ? count - 1 : static_cast<int>(position);
}

std::uint32_t littleEndian(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// CImg's BMP reader trusts the header: a damaged colour count or size can make it allocate and clear
// gigabytes, and run-length encoded data is handed to external converters. Only an uncompressed BMP
// whose pixel rows are all in the file gets that far.
void checkBitmapHeader(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file.is_open()) {
        throw cimg_library::CImgIOException("Could not open height map %s", path.c_str());
    }
    const std::int64_t fileSize = static_cast<std::int64_t>(file.tellg());
    unsigned char header[54] = {};
    file.seekg(0);
    file.read(reinterpret_cast<char*>(header), sizeof header);
    if (!file || header[0] != 'B' || header[1] != 'M') {
        throw cimg_library::CImgIOException("Could not load height map %s: not a BMP image", path.c_str());
    }
    const std::int64_t width = static_cast<std::int32_t>(littleEndian(header + 18, 4));
    const std::int64_t height =
        std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(littleEndian(header + 22, 4))));
    const std::uint32_t bitsPerPixel = littleEndian(header + 28, 2);
    const std::uint32_t compression = littleEndian(header + 30, 4);
    const std::uint32_t colours = littleEndian(header + 46, 4);
    const std::uint32_t pixelOffset = littleEndian(header + 10, 4);
    const std::uint32_t infoSize = littleEndian(header + 14, 4);
    const bool knownDepth = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 ||
                            bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
    // Every pixel row must be in the file: a cut-off file would otherwise read as flat ground.
    const std::int64_t pixelBytes = fileSize - pixelOffset;
    const bool sizeFits = width > 0 && height > 0 && pixelOffset >= 54 && pixelBytes >= 0 &&
                          (width * bitsPerPixel + 31) / 32 * 4 <= pixelBytes / height;
    // Compression 3 only describes the channel masks of 16- and 32-bit pixels.
    if (!knownDepth || !sizeFits || (compression != 0 && compression != 3) || colours > 256 ||
        infoSize < 40 || infoSize > 124) {
        throw cimg_library::CImgIOException(
            "Could not load height map %s: not a complete, uncompressed BMP image", path.c_str());
    }
}

}  // namespace

void HeightMap::load(float maxHeight, const std::string& path) {
    // CImg's own BMP reader: its generic loader hands a file it cannot read to external programs
    // (ImageMagick's convert, GraphicsMagick), which print their own errors and may accept a file
    // that CImg rightly refused.
    checkBitmapHeader(path);
    cimg_library::CImg<unsigned char> loaded;
    loaded.load_bmp(path.c_str());
    columns = loaded.width();
    rows = loaded.height();
    samples.assign(loaded.data(), loaded.data() + std::size_t(columns) * std::size_t(rows));
    size = static_cast<std::uint32_t>(columns);
    heightScale = maxHeight / 255.0f;
}

float HeightMap::groundHeight(float x, float z) const {
    if (samples.empty()) {
        return 0.0f;
    }
    // Truncation toward zero, as the mapping defines; indices outside the image are clamped to the
    // border (the last row would otherwise be read one past the end for z just below 0).
    const float column = std::trunc(x * 2.0f);
    const float row = static_cast<float>(size) - std::trunc(-z * 2.0f);
    const std::size_t index =
        std::size_t(clampIndex(row, rows)) * std::size_t(columns) + std::size_t(clampIndex(column, columns));
    const unsigned char sample = samples[index];
    return static_cast<float>(sample) * heightScale;
}

float HeightMap::altitude(float x, float y, float z) const {
    if (y <= 0.0f) {
        return 0.0f;
    }
    const float ground = groundHeight(x, z);
    if (y >= ground - kGroundTolerance) {
        // Rounding can leave a hair below zero right at the limit; an altitude is never negative.
        return std::max(0.0f, y - ground + kGroundTolerance);
    }
    return 0.0f;
}

}  // namespace common::scene
