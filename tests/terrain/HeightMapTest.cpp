// The height map: how positions map to samples and heights, the altitude rule, and damaged height
// images. Headers that lie about sizes, colour counts and compression are refused with an exception
// before the image library allocates from them (the ones fuzzing found, fuzz/HeightMapFuzzer.cpp), and
// plain BMPs of every depth still load. That a failure names the file is checked with the real game
// (hardening/BadInputTest.cpp).

#include "terrain/HeightMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "tests/support/TestFiles.h"

using common::scene::HeightMap;

namespace {

struct BitmapHeader {
    std::int32_t width = 4;
    std::int32_t height = 4;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;
    std::uint32_t infoSize = 40;
    std::int64_t pixelBytes = -1;  // -1: exactly the rows the header describes
};

// Each value in little-endian order, in `bytes` bytes.
void put(std::string& out, std::initializer_list<std::uint32_t> values, int bytes = 4) {
    for (std::uint32_t value : values) {
        for (int i = 0; i < bytes; ++i) {
            out += static_cast<char>((value >> (8 * i)) & 0xff);
        }
    }
}

// Every pixel byte 200, or for 8 bits (a palette of greys 0 to 255) sample(column, row), rows counted
// from the top of the picture.
std::string bitmap(const BitmapHeader& h, int (*sample)(int, int) = nullptr) {
    const std::uint32_t palette = h.bitsPerPixel <= 8 ? (h.colours ? h.colours : 1u << h.bitsPerPixel) : 0;
    const std::int64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    const std::int64_t rowBytes = (static_cast<std::int64_t>(h.width) * h.bitsPerPixel + 31) / 32 * 4;
    const std::int64_t pixelBytes = h.pixelBytes >= 0 ? h.pixelBytes : rowBytes * rows;
    const std::uint32_t offset = 14 + 40 + 4 * (palette <= 256 ? palette : 0);
    // The file header, then the 40-byte info header.
    std::string out = "BM";
    put(out, {static_cast<std::uint32_t>(offset + pixelBytes), 0, offset, h.infoSize,
              static_cast<std::uint32_t>(h.width), static_cast<std::uint32_t>(h.height)});
    put(out, {1, h.bitsPerPixel}, 2);
    put(out, {h.compression, static_cast<std::uint32_t>(pixelBytes), 2835, 2835, h.colours, 0});
    for (std::uint32_t i = 0; i < palette && i < 256; ++i) {
        const std::uint32_t grey = palette > 1 ? i * 255 / (palette - 1) : 0;
        put(out, {grey | grey << 8 | grey << 16});
    }
    for (std::int64_t i = 0; i < pixelBytes; ++i) {
        const std::int64_t row = sample ? (h.height > 0 ? rows - 1 - i / rowBytes : i / rowBytes) : 0;
        const bool grey = sample && i % rowBytes < h.width;
        out += static_cast<char>(grey ? sample(int(i % rowBytes), int(row)) : 200);
    }
    return out;
}

// Loads `bytes` as a height map; returns the failure message, or "" when it loaded.
std::string load(const std::string& bytes, HeightMap& map, float maxHeight = 100.0f) {
    testsupport::TempDir dir;
    const auto path = dir.write("heightmap.bmp", bytes);
    try {
        map.load(maxHeight, path.string());
    } catch (const std::exception& failure) {
        return failure.what();
    }
    return "";
}

// An 8-bit grey map, loaded with grey 255 at maxHeight.
HeightMap makeMap(int width, int height, int (*sample)(int, int), float maxHeight = 255.0f) {
    HeightMap map;
    EXPECT_EQ(load(bitmap({width, height, 8}, sample), map, maxHeight), "");
    return map;
}

// Each sample encodes its own column and row: 16 * column + row.
int columnAndRow(int x, int y) {
    return x * 16 + y;
}

}  // namespace

// The craft may sink 0.8 into the ground; at or below the ground's limit, and at or below y = 0, the
// altitude is 0, which is a crash. Columns run with x and rows up the picture with -z, two samples a
// unit, truncated toward zero. Positions outside the mapped square read the border instead of memory
// outside the image.
TEST(HeightMap, TheAltitudeIsAboveTheGroundAndPositionsMapToColumnsAndRowsClampedToTheBorder) {
    const HeightMap mountain = makeMap(
        8, 8, [](int, int) { return 255; }, 100.0f);
    EXPECT_EQ(mountain.getSize(), 8u);
    EXPECT_FLOAT_EQ(mountain.groundHeight(1.0f, -1.0f), 100.0f);
    EXPECT_FLOAT_EQ(mountain.altitude(1.0f, 100.0f, -1.0f), 0.8f);
    EXPECT_EQ(mountain.altitude(1.0f, 99.0f, -1.0f), 0.0f);
    EXPECT_EQ(mountain.altitude(1.0f, 99.2f, -1.0f), 0.0f);  // at the limit, never below zero

    const HeightMap sea = makeMap(8, 8, [](int, int) { return 0; });
    EXPECT_FLOAT_EQ(sea.altitude(1.0f, 10.0f, -1.0f), 10.8f);
    EXPECT_EQ(sea.altitude(1.0f, 0.0f, -1.0f), 0.0f);
    EXPECT_EQ(sea.altitude(1.0f, -3.0f, -1.0f), 0.0f);

    const HeightMap map = makeMap(8, 8, columnAndRow);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::tuple<float, float, float> cases[] = {
        {1.0f, -1.0f, 38.0f},                         // column 2, row 8 - 2
        {1.49f, -1.49f, 38.0f}, {0.0f, -3.9f, 1.0f},  // row 8 - 7, near the top of the picture
        {-5.0f, -1.0f, 6.0f},                         // left of the square
        {40.0f, -1.0f, 118.0f},                       // right of it
        {1.0f, -0.25f, 39.0f},                        // row 8: the last row
        {1.0f, 30.0f, 39.0f},                         // in front of the square
        {1.0f, -90.0f, 32.0f},                        // beyond the top row
        {nan, nan, 0.0f},       {inf, -inf, 112.0f},
    };
    for (const auto& [x, z, ground] : cases) {
        EXPECT_EQ(map.groundHeight(x, z), ground) << x << ", " << z;
    }
    EXPECT_EQ(map.altitude(1.0f, nan, -1.0f), 0.0f);

    // 8 wide, 4 high: the size is the width, so rows 4 to 8 do not exist and read the last row.
    const HeightMap wide = makeMap(8, 4, columnAndRow);
    EXPECT_EQ(wide.groundHeight(1.0f, -1.0f), 35.0f);
    EXPECT_EQ(wide.groundHeight(1.0f, -3.0f), 34.0f);
}

// Plain BMPs of every depth the reader knows, bottom-up and top-down; the ground comes from the first
// channel (every byte here is 200: ground at 200 of 255 times 100).
// Headers that lie about sizes, colour counts and compression. Run-length data would go to external
// converters, which must never run for the height map.
TEST(HeightMapFile, PlainBitmapsOfEveryDepthLoadAndLyingHeadersAreRefused) {
    for (std::uint16_t depth : {1, 4, 8, 16, 24, 32}) {
        for (std::int32_t height : {3, -3}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, height " + std::to_string(height));
            HeightMap map;
            EXPECT_EQ(load(bitmap({5, height, depth}), map), "");
            EXPECT_EQ(map.getSize(), 5u);
            if (depth == 24) {
                EXPECT_NEAR(map.groundHeight(1.0f, -1.0f), 78.431f, 1e-3f);
            }
        }
    }

    const std::pair<const char*, BitmapHeader> refused[] = {
        {"a colour count of billions", {4, 4, 4, 0, 0xaaaaaaaa}},
        {"sizes beyond the pixel data", {60000, 60000, 24, 0, 0, 40, 64}},
        {"the widest 32-bit image", {0x7fffffff, 0x7fffffff, 32, 0, 0, 40, 64}},
        {"the last of four rows cut off", {4, 4, 24, 0, 0, 40, 3 * 12}},
        {"zero width", {0, 4}},
        {"negative width", {-4, 4}},
        {"the most negative height", {4, std::numeric_limits<std::int32_t>::min(), 24, 0, 0, 40, 64}},
        {"0 bits", {4, 4, 0, 0, 0, 40, 64}},
        {"2 bits", {4, 4, 2, 0, 0, 40, 64}},
        {"7 bits", {4, 4, 7, 0, 0, 40, 64}},
        {"48 bits", {4, 4, 48, 0, 0, 40, 64}},
        {"8-bit run lengths", {4, 4, 8, 1}},
        {"4-bit run lengths", {4, 4, 8, 2}},
        {"JPEG", {4, 4, 8, 4}},
        {"PNG", {4, 4, 8, 5}},
        // Info header sizes that would overflow the pixel offset
        {"info header of 0", {4, 4, 24, 0, 0, 0}},
        {"info header of 12", {4, 4, 24, 0, 0, 12}},
        {"info header of 2 GB", {4, 4, 24, 0, 0, 0x80000028u}},
        {"info header of 4 GB", {4, 4, 24, 0, 0, 0xffffffffu}},
    };
    for (const auto& [what, header] : refused) {
        HeightMap map;
        EXPECT_NE(load(bitmap(header), map), "") << what;
    }
}
