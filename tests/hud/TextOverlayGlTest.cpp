#include "hud/TextOverlay.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "gl/TextureExc.h"
#include "tests/hud/HudTestSupport.h"

using common::hud::TextOverlay;
using namespace hudtest;

namespace {

// --- glyph squares and atlas cells (no GL) ---

TEST(TextOverlayGlyphs, EachCharacterIsASquareOfSizeFromItsAtlasCell) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    // 'A' is 65: column 1, row 4 counted from the top of the atlas, whose bottom row lies at v = 0.
    TextOverlay::buildGlyphs("A", 10, 20, 30, positions, uvs);
    EXPECT_EQ(positions,
              (std::vector<glm::vec2>{{10, 50}, {10, 20}, {40, 50}, {40, 20}, {40, 50}, {10, 20}}));
    for (std::size_t k = 0; k < 6; ++k) {  // the cell's corners in the same order, 1/16 of the atlas a side
        EXPECT_EQ(uvs[k], glm::vec2(0.0625f, 0.75f) + (positions[k] - positions[0]) / (30.0f * 16.0f)) << k;
    }

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

// --- text drawn into an 800 x 600 target ---

using TextOverlayGlTest = HudFixture;

// Glyph placement through the Hud is checked in HudTest; here, the overlay's own states.
TEST_F(TextOverlayGlTest, OnlyALoadedFontDrawsAndAFailedLoadKeepsTheLastOne) {
    TextOverlay overlay;
    overlay.width = 800.0f;
    overlay.height = 600.0f;
    glViewport(0, 0, 800, 600);
    overlay.printText("A", 100, 100, 40);
    EXPECT_EQ(pixel(120, 120), kBackground);

    overlay.init("../resources/textures/font.png");
    EXPECT_THROW(overlay.init("../resources/textures/missing.png"), common::gl::TextureExc);
    glEnable(GL_BLEND);
    overlay.printText("A A", 100, 100, 40);
    expectText("A A", 100, 100, 40);  // the blank's clear texels leave the background
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
