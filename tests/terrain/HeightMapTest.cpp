#include "terrain/HeightMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <CImg.h>

#include "tests/support/TestFiles.h"

using common::scene::HeightMap;

namespace {

// Writes a grey BMP whose sample at (column, row) is given by `sample` and loads it.
template <typename SampleFn>
HeightMap makeMap(const testsupport::TempDir& dir, int width, int height, SampleFn sample) {
    cimg_library::CImg<unsigned char> image(width, height, 1, 1, 0);
    cimg_forXY(image, x, y) {
        image(x, y) = sample(x, y);
    }
    const std::string path = (dir.path() / "heightmap.bmp").string();
    image.save_bmp(path.c_str());
    HeightMap map;
    map.load(100.0f, path);
    return map;
}

}  // namespace

// The mapping and the altitude rule
TEST(HeightMap, ScaleAndSizeComeFromTheImage) {
    testsupport::TempDir dir;
    const HeightMap map = makeMap(dir, 8, 8, [](int, int) { return 0; });
    EXPECT_EQ(map.getSize(), 8u);
    EXPECT_FLOAT_EQ(map.getHeightScale(), 100.0f / 255.0f);
}

TEST(HeightMap, FullSampleIsTheMaximumHeight) {
    testsupport::TempDir dir;
    const HeightMap map = makeMap(dir, 8, 8, [](int, int) { return 255; });
    EXPECT_FLOAT_EQ(map.altitude(1.0f, 100.0f, -1.0f), 0.8f);
    EXPECT_FLOAT_EQ(map.altitude(1.0f, 99.0f, -1.0f), 0.0f);
    EXPECT_EQ(map.altitude(1.0f, 99.2f, -1.0f), 0.0f);  // at ground - 0.8, never below zero
}

TEST(HeightMap, ZeroSampleGivesHeightPlusTolerance) {
    testsupport::TempDir dir;
    const HeightMap map = makeMap(dir, 8, 8, [](int, int) { return 0; });
    EXPECT_FLOAT_EQ(map.altitude(1.0f, 10.0f, -1.0f), 10.8f);
}

TEST(HeightMap, AtOrBelowZeroHeightIsAlwaysACrash) {
    testsupport::TempDir dir;
    const HeightMap map = makeMap(dir, 8, 8, [](int, int) { return 0; });
    EXPECT_EQ(map.altitude(1.0f, 0.0f, -1.0f), 0.0f);
    EXPECT_EQ(map.altitude(1.0f, -3.0f, -1.0f), 0.0f);
}

TEST(HeightMap, ColumnsRunWithXAndRowsUpTheImageWithMinusZ) {
    testsupport::TempDir dir;
    // Each sample encodes its own column and row.
    const HeightMap map = makeMap(dir, 8, 8, [](int x, int y) { return x * 16 + y; });
    const float scale = map.getHeightScale();
    // x = 1.0 and 1.49 both read column 2; z = -1.0 and -1.49 both read row 8 - 2 = 6.
    EXPECT_FLOAT_EQ(map.groundHeight(1.0f, -1.0f), (2 * 16 + 6) * scale);
    EXPECT_FLOAT_EQ(map.groundHeight(1.49f, -1.49f), (2 * 16 + 6) * scale);
    // z = -3.9 reads row 8 - 7 = 1, near the top of the picture.
    EXPECT_FLOAT_EQ(map.groundHeight(0.0f, -3.9f), (0 * 16 + 1) * scale);
}

// Positions outside the mapped square read the border instead of memory outside the image
TEST(HeightMap, PositionsOutsideTheSquareClampToTheBorder) {
    testsupport::TempDir dir;
    const HeightMap map = makeMap(dir, 8, 8, [](int x, int y) { return x * 16 + y; });
    const float scale = map.getHeightScale();
    EXPECT_FLOAT_EQ(map.groundHeight(-5.0f, -1.0f), (0 * 16 + 6) * scale);  // left of the square
    EXPECT_FLOAT_EQ(map.groundHeight(40.0f, -1.0f), (7 * 16 + 6) * scale);  // right of it
    EXPECT_FLOAT_EQ(map.groundHeight(1.0f, -0.25f), (2 * 16 + 7) * scale);  // row 8 -> last row
    EXPECT_FLOAT_EQ(map.groundHeight(1.0f, 30.0f), (2 * 16 + 7) * scale);   // in front of it
    EXPECT_FLOAT_EQ(map.groundHeight(1.0f, -90.0f), (2 * 16 + 0) * scale);  // beyond the top row
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_FLOAT_EQ(map.groundHeight(nan, nan), (0 * 16 + 0) * scale);
    EXPECT_FLOAT_EQ(map.groundHeight(inf, -inf), (7 * 16 + 0) * scale);
    EXPECT_EQ(map.altitude(1.0f, nan, -1.0f), 0.0f);
}

TEST(HeightMap, NonSquareImagesClampRowsToTheirOwnHeight) {
    testsupport::TempDir dir;
    // 8 wide, 4 high: size is the width, so rows 4..8 do not exist and read the last row.
    const HeightMap map = makeMap(dir, 8, 4, [](int x, int y) { return x * 16 + y; });
    const float scale = map.getHeightScale();
    EXPECT_FLOAT_EQ(map.groundHeight(1.0f, -1.0f), (2 * 16 + 3) * scale);
    EXPECT_FLOAT_EQ(map.groundHeight(1.0f, -3.0f), (2 * 16 + 2) * scale);
}

TEST(HeightMap, AnUnreadableFileThrows) {
    testsupport::TempDir dir;
    HeightMap map;
    EXPECT_THROW(map.load(100.0f, (dir.path() / "missing.bmp").string()), std::exception);
    dir.write("broken.bmp", "BM not really a bitmap");
    EXPECT_THROW(map.load(100.0f, (dir.path() / "broken.bmp").string()), std::exception);
}
