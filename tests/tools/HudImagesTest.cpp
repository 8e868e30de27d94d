// The font atlas and the HUD pictures as the texture loader sees them.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/GeneratedFiles.h"

namespace {

constexpr int kCells = 16;

generated::Picture texture(const std::string& name) {
    return generated::loadPicture(generated::kTextureDir + "/" + name);
}

// Largest alpha in the cell of character `c`, optionally only along the cell's outermost pixels.
int cellAlpha(const generated::Picture& atlas, int c, bool borderOnly) {
    const int cell = atlas.width / kCells;
    const int x0 = (c % kCells) * cell;
    const int y0 = (c / kCells) * cell;
    int largest = 0;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            const bool border = x == 0 || y == 0 || x == cell - 1 || y == cell - 1;
            if (!borderOnly || border) {
                largest = std::max(largest, int(atlas.alpha(x0 + x, y0 + y)));
            }
        }
    }
    return largest;
}

}  // namespace

TEST(FontAtlas, GlyphsSitInTheirOwnCellsOnATransparentGround) {
    const generated::Picture atlas = texture("font.png");
    ASSERT_TRUE(atlas.loaded);
    EXPECT_TRUE(atlas.hasAlpha);
    EXPECT_EQ(atlas.width, atlas.height);
    EXPECT_GE(atlas.width / kCells, 64);
    EXPECT_TRUE(generated::isPowerOfTwo(atlas.width));

    EXPECT_EQ(cellAlpha(atlas, ' ', false), 0);
    EXPECT_EQ(cellAlpha(atlas, 0, false), 0);
    // No glyph spills into its neighbours, which would show as specks beside other letters.
    for (int c = 33; c < 127; ++c) {
        EXPECT_GT(cellAlpha(atlas, c, false), 200) << "character " << c;
        EXPECT_EQ(cellAlpha(atlas, c, true), 0) << "character " << c;
    }
    // "A" is centred: its ink is balanced left and right of the cell's middle.
    const int cell = atlas.width / kCells;
    const int x0 = ('A' % kCells) * cell;
    const int y0 = ('A' / kCells) * cell;
    long left = 0;
    long right = 0;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            (x < cell / 2 ? left : right) += atlas.alpha(x0 + x, y0 + y);
        }
    }
    EXPECT_NEAR(double(left) / double(right), 1.0, 0.1);
    // White everywhere, so blending only ever brightens.
    EXPECT_EQ(atlas.at(x0 + cell / 2, y0 + cell / 2)[0], 255);
}

TEST(HudImages, AreSquarePowerOfTwoPicturesWithTransparentSurroundings) {
    for (const char* name : {"altimeter.png", "arrow.png", "score.png", "warn.png"}) {
        const generated::Picture picture = texture(name);
        ASSERT_TRUE(picture.loaded) << name;
        EXPECT_TRUE(picture.hasAlpha) << name;
        EXPECT_EQ(picture.width, picture.height) << name;
        EXPECT_TRUE(generated::isPowerOfTwo(picture.width)) << name;
        EXPECT_EQ(picture.alpha(0, 0), 0) << name;
        EXPECT_EQ(picture.alpha(picture.width - 1, 0), 0) << name;
    }
}

TEST(HudImages, TheNeedlePointsUpFromTheCentre) {
    const generated::Picture arrow = texture("arrow.png");
    ASSERT_TRUE(arrow.loaded);
    const int size = arrow.width;
    const int middle = size / 2;
    // Opaque along the upper half of the vertical through the centre, clear well below and to the sides.
    for (int y = size / 6; y < middle; y += 4) {
        EXPECT_GT(arrow.alpha(middle, y), 200) << "y " << y;
    }
    for (int y = size * 3 / 4; y < size; y += 4) {
        EXPECT_EQ(arrow.alpha(middle, y), 0) << "y " << y;
    }
    EXPECT_EQ(arrow.alpha(size / 6, middle), 0);
    EXPECT_EQ(arrow.alpha(size * 5 / 6, middle), 0);
}

TEST(HudImages, TheScoreBadgeLeavesADarkPlateWhereTheNumberIsPrinted) {
    const generated::Picture score = texture("score.png");
    ASSERT_TRUE(score.loaded);
    // The game prints the score at x 44-138, y 64-84 of a window where the 128-pixel icon sits at
    // (10, 15): in this picture x 68-256 and, from the top, y 118-158. White digits need a dark,
    // mostly opaque plate under the digits (which start after a leading blank, at x about 108).
    const double scale = score.width / 256.0;
    long light = 0;
    long covered = 0;
    long samples = 0;
    for (int y = int(122 * scale); y < int(154 * scale); ++y) {
        for (int x = int(110 * scale); x < int(240 * scale); ++x) {
            const std::uint8_t* p = score.at(x, y);
            light += (p[0] + p[1] + p[2]) / 3;
            covered += p[3];
            ++samples;
        }
    }
    EXPECT_LT(light / samples, 80);
    EXPECT_GT(covered / samples, 150);
}
