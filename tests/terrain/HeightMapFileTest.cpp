// Damaged height images: headers that lie about sizes, colour counts and compression are refused with
// an exception before the image library allocates from them, and plain BMPs of every depth still load.
// The damaged headers here are the ones fuzzing found (fuzz/HeightMapFuzzer.cpp).

#include "terrain/HeightMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <vector>

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

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xff);
    }
}

std::string bitmap(const BitmapHeader& h) {
    const std::uint32_t palette = h.bitsPerPixel <= 8 ? (h.colours ? h.colours : 1u << h.bitsPerPixel) : 0;
    const std::int64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    const std::int64_t rowBytes = (static_cast<std::int64_t>(h.width) * h.bitsPerPixel + 31) / 32 * 4;
    const std::int64_t pixelBytes = h.pixelBytes >= 0 ? h.pixelBytes : rowBytes * rows;
    const std::uint32_t offset = 14 + 40 + 4 * (palette <= 256 ? palette : 0);
    std::string out = "BM";
    put(out, static_cast<std::uint32_t>(offset + pixelBytes), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, h.infoSize, 4);
    put(out, static_cast<std::uint32_t>(h.width), 4);
    put(out, static_cast<std::uint32_t>(h.height), 4);
    put(out, 1, 2);
    put(out, h.bitsPerPixel, 2);
    put(out, h.compression, 4);
    put(out, static_cast<std::uint32_t>(pixelBytes), 4);
    put(out, 2835, 4);
    put(out, 2835, 4);
    put(out, h.colours, 4);
    put(out, 0, 4);
    for (std::uint32_t i = 0; i < palette && i < 256; ++i) {
        const std::uint32_t grey = palette > 1 ? i * 255 / (palette - 1) : 0;
        put(out, grey | grey << 8 | grey << 16, 4);
    }
    for (std::int64_t i = 0; i < pixelBytes; ++i) {
        out += static_cast<char>(200);
    }
    return out;
}

// Loads `bytes` as a height map; returns the failure message, or "" when it loaded.
std::string load(const std::string& bytes, HeightMap& map) {
    testsupport::TempDir dir;
    const auto path = dir.write("heightmap.bmp", bytes);
    try {
        map.load(100.0f, path.string());
    } catch (const std::exception& failure) {
        return failure.what();
    }
    return "";
}

std::string loadFailure(const BitmapHeader& header) {
    HeightMap map;
    return load(bitmap(header), map);
}

}  // namespace

// Plain BMPs of every depth the reader knows, bottom-up and top-down
TEST(HeightMapFile, PlainBitmapsOfEveryDepthLoad) {
    for (std::uint16_t depth : {1, 4, 8, 16, 24, 32}) {
        for (std::int32_t height : {3, -3}) {
            SCOPED_TRACE(std::to_string(depth) + " bits, height " + std::to_string(height));
            BitmapHeader header;
            header.width = 5;
            header.height = height;
            header.bitsPerPixel = depth;
            HeightMap map;
            EXPECT_EQ(load(bitmap(header), map), "");
            EXPECT_EQ(map.getSize(), 5u);
        }
    }
}

TEST(HeightMapFile, TheGroundComesFromTheFirstChannelOfA24BitImage) {
    HeightMap map;
    ASSERT_EQ(load(bitmap(BitmapHeader{}), map), "");
    // Every byte is 200: ground at 200 * 100 / 255.
    EXPECT_NEAR(map.groundHeight(1.0f, -1.0f), 200.0f * 100.0f / 255.0f, 1e-3f);
}

// Headers that lie
TEST(HeightMapFile, AColourCountOfBillionsIsRefused) {
    BitmapHeader header;
    header.bitsPerPixel = 4;
    header.colours = 0xaaaaaaaa;
    EXPECT_NE(loadFailure(header), "");
}

TEST(HeightMapFile, SizesBeyondThePixelDataAreRefused) {
    BitmapHeader huge;
    huge.width = 60000;
    huge.height = 60000;
    huge.pixelBytes = 64;
    EXPECT_NE(loadFailure(huge), "");
    BitmapHeader widest;
    widest.width = 0x7fffffff;
    widest.height = 0x7fffffff;
    widest.bitsPerPixel = 32;
    widest.pixelBytes = 64;
    EXPECT_NE(loadFailure(widest), "");
    // A cut-off file: the last of four 12-byte rows is missing.
    BitmapHeader oneRowShort;
    oneRowShort.pixelBytes = 3 * 12;
    EXPECT_NE(loadFailure(oneRowShort), "");
}

TEST(HeightMapFile, ZeroNegativeAndTheMostNegativeSizesAreRefused) {
    for (std::int32_t width : {0, -4}) {
        BitmapHeader header;
        header.width = width;
        EXPECT_NE(loadFailure(header), "") << width;
    }
    BitmapHeader lowest;
    lowest.height = std::numeric_limits<std::int32_t>::min();
    lowest.pixelBytes = 64;
    EXPECT_NE(loadFailure(lowest), "");
}

TEST(HeightMapFile, DepthsTheReaderDoesNotKnowAreRefused) {
    for (std::uint16_t depth : {0, 2, 7, 48}) {
        BitmapHeader header;
        header.bitsPerPixel = depth;
        header.pixelBytes = 64;
        EXPECT_NE(loadFailure(header), "") << depth;
    }
}

// Run-length data would go to external converters; those must never run for the height map.
TEST(HeightMapFile, CompressedBitmapsAreRefused) {
    for (std::uint32_t compression : {1u, 2u, 4u, 5u}) {
        BitmapHeader header;
        header.bitsPerPixel = 8;
        header.compression = compression;
        EXPECT_NE(loadFailure(header), "") << compression;
    }
}

TEST(HeightMapFile, InfoHeaderSizesThatWouldOverflowTheOffsetAreRefused) {
    for (std::uint32_t infoSize : {0u, 12u, 0x80000028u, 0xffffffffu}) {
        BitmapHeader header;
        header.infoSize = infoSize;
        EXPECT_NE(loadFailure(header), "") << infoSize;
    }
}

// What the game reports names the file
TEST(HeightMapFile, FailuresNameTheFile) {
    HeightMap map;
    EXPECT_NE(load("BM", map).find("heightmap.bmp"), std::string::npos);
    EXPECT_NE(load(std::string(100, 'x'), map).find("heightmap.bmp"), std::string::npos);
    EXPECT_NE(load("", map).find("heightmap.bmp"), std::string::npos);
    testsupport::TempDir dir;
    try {
        map.load(100.0f, (dir.path() / "missing.bmp").string());
        ADD_FAILURE() << "a missing file loaded";
    } catch (const std::exception& failure) {
        EXPECT_NE(std::string(failure.what()).find("missing.bmp"), std::string::npos) << failure.what();
    }
}
