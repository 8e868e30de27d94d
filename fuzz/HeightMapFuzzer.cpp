// The height image as a half-copied resource folder may leave it: any bytes in a .bmp file, then the
// altitude query everywhere, far outside the image and at positions that are not numbers.

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <limits>
#include <string>

#include "terrain/HeightMap.h"

namespace {

const std::string& imagePath() {
    static const std::string path = "/tmp/skyrings-fuzz-heightmap-" + std::to_string(getpid()) + ".bmp";
    return path;
}

bool writeImage(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(imagePath().c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void checkAltitude(const common::scene::HeightMap& map, float x, float y, float z) {
    const float altitude = map.altitude(x, y, z);
    // The game compares it with 0 (crash) and 15 (warning): never negative, never NaN.
    if (!(altitude >= 0.0f)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // CImg hands BMPs it cannot decode itself (run-length encoded ones) to ImageMagick's convert;
    // without a PATH that costs two failed shell starts per input instead of a conversion.
    setenv("PATH", "/nonexistent", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!writeImage(data, size)) {
        return 0;
    }
    common::scene::HeightMap map;
    try {
        map.load(100.0f, imagePath());
    } catch (const std::exception&) {
        return 0;  // the game reports this and ends start-up
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float big = std::numeric_limits<float>::max();
    const float half = static_cast<float>(map.getSize()) / 2.0f;
    const float positions[] = {0.0f,  0.25f, 0.5f,  1.0f,         half - 0.5f, half,   half + 0.5f,
                               -0.5f, -1.0f, -half, -half - 0.5f, 1e9f,        -1e9f,  big,
                               -big,  inf,   -inf,  nan,          2.5e9f,      -2.5e9f};
    for (float x : positions) {
        for (float z : positions) {
            for (float y : {0.0f, 1.0f, 50.0f, 100.0f, 1e9f, -1.0f, inf, nan}) {
                checkAltitude(map, x, y, z);
            }
        }
    }
    return 0;
}
