// The HUD's rules without a display: the countdown, the needle's turn, and the glyph squares.
#include "hud/Hud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "hud/TextOverlay.h"

using common::hud::Hud;
using common::hud::TextOverlay;

// The countdown ends after four seconds. The needle matrix's first two columns are (cos a, sin a) and
// (-sin a, cos a): a positive angle turns counter-clockwise.
TEST(Hud, TheCountdownShowsEachSecondsDigitAndTheNeedleTurnsByTheAngleInDegrees) {
    const std::tuple<double, const char*, bool> cases[] = {
        {0.0, "3", false}, {1.0, "3", false}, {1.01, "2", false}, {2.0, "2", false},
        {3.0, "1", false}, {3.5, "0", false}, {4.0, "0", false},  {4.01, "0", true}};
    for (const auto& [t, text, over] : cases) {
        EXPECT_STREQ(Hud::countdownText(t), text) << "t = " << t;
        EXPECT_EQ(Hud::countdownOver(t), over) << "t = " << t;
    }

    for (const auto& [angle, cosine, sine] :
         {std::tuple{-90.0f, 0.0f, -1.0f}, {30.0f, std::sqrt(3.0f) / 2, 0.5f}}) {
        const glm::mat4 m = Hud::needleMatrix(angle);
        EXPECT_LT(glm::distance(m[0], glm::vec4(cosine, sine, 0.0f, 0.0f)), 1e-6f) << angle;
        EXPECT_LT(glm::distance(m[1], glm::vec4(-sine, cosine, 0.0f, 0.0f)), 1e-6f) << angle;
        EXPECT_EQ(m[2], glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
        EXPECT_EQ(m[3], glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    }
}

TEST(TextOverlayGlyphs, EachCharacterIsASquareOfSizeFromItsAtlasCell) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    // 'A' is 65: column 1, row 4 counted from the top of the atlas, whose bottom row lies at v = 0.
    TextOverlay::buildGlyphs("A", 10, 20, 30, positions, uvs);
    EXPECT_EQ(positions,
              (std::vector<glm::vec2>{{10, 50}, {10, 20}, {40, 50}, {40, 20}, {40, 50}, {10, 20}}));
    // The cell's corners in the same order, 1/16 of the atlas a side.
    const float left = 0.0625f, right = 0.125f, bottom = 0.6875f, top = 0.75f;
    EXPECT_EQ(uvs,
              (std::vector<glm::vec2>{
                  {left, top}, {left, bottom}, {right, top}, {right, bottom}, {right, top}, {left, bottom}}));

    // Codes are signed bytes: one above 127 is negative, its column and row found by truncating division.
    const std::tuple<const char*, int, std::size_t, glm::vec2, glm::vec2> cells[] = {
        // text, x, glyph, its top left corner, its cell's top left corner
        {" ", 0, 0, {0, 20}, {0.0f, 0.875f}},         // 32: column 0, row 2
        {"Hi", -25, 1, {-5, 20}, {0.5625f, 0.625f}},  // 'i' is 105: column 9, row 6
        {"\xC8", 0, 0, {0, 20}, {-0.5f, 1.1875f}},    // -56: column -8, row -3
        {"\x80", 0, 0, {0, 20}, {0.0f, 1.5f}},        // -128: column 0, row -8
    };
    for (const auto& [text, x, glyph, corner, cell] : cells) {
        TextOverlay::buildGlyphs(text, x, 0, 20, positions, uvs);
        ASSERT_EQ(positions.size(), 6 * std::strlen(text));
        EXPECT_EQ(positions[6 * glyph], corner) << text;
        EXPECT_EQ(uvs[6 * glyph], cell) << text;
    }
    for (const char* nothing : {"", static_cast<const char*>(nullptr)}) {
        TextOverlay::buildGlyphs(nothing, 5, 5, 10, positions, uvs);
        EXPECT_TRUE(positions.empty() && uvs.empty());
    }
}
