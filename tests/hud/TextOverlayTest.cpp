#include "hud/TextOverlay.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gl/TextureExc.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/GlContext.h"

using common::hud::TextOverlay;
using hudtest::glyphColour;
using hudtest::kBackground;

namespace {

void expectCorners(const std::vector<glm::vec2>& actual, const std::vector<glm::vec2>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(actual[i].x, expected[i].x) << "corner " << i;
        EXPECT_FLOAT_EQ(actual[i].y, expected[i].y) << "corner " << i;
    }
}

// The six atlas coordinates of a cell whose left edge is u, top vTop and bottom vBottom.
std::vector<glm::vec2> cellCorners(float u, float vTop, float vBottom) {
    const float right = u + 0.0625f;
    return {{u, vTop}, {u, vBottom}, {right, vTop}, {right, vBottom}, {right, vTop}, {u, vBottom}};
}

// --- Glyph geometry and atlas addressing (no GL) ---

TEST(TextOverlayGlyphs, LetterAIsOneSquareFromColumnOneRowFour) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    TextOverlay::buildGlyphs("A", 10, 20, 30, positions, uvs);

    expectCorners(positions, {{10, 50}, {10, 20}, {40, 50}, {40, 20}, {40, 50}, {10, 20}});
    expectCorners(uvs, cellCorners(0.0625f, 0.75f, 0.6875f));
}

TEST(TextOverlayGlyphs, BlankIsATexturedSquareFromColumnZeroRowTwo) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    TextOverlay::buildGlyphs(" ", 0, 0, 16, positions, uvs);

    expectCorners(positions, {{0, 16}, {0, 0}, {16, 16}, {16, 0}, {16, 16}, {0, 0}});
    expectCorners(uvs, cellCorners(0.0f, 0.875f, 0.8125f));
}

TEST(TextOverlayGlyphs, GlyphsAdvanceBySizeAlsoLeftOfTheWindow) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    TextOverlay::buildGlyphs("Hi", -25, 300, 20, positions, uvs);

    ASSERT_EQ(positions.size(), 12u);
    expectCorners({positions.begin(), positions.begin() + 6},
                  {{-25, 320}, {-25, 300}, {-5, 320}, {-5, 300}, {-5, 320}, {-25, 300}});
    expectCorners({positions.begin() + 6, positions.end()},
                  {{-5, 320}, {-5, 300}, {15, 320}, {15, 300}, {15, 320}, {-5, 300}});
    // 'i' is 105: column 9, row 6.
    expectCorners({uvs.begin() + 6, uvs.end()},
                  cellCorners(9 * 0.0625f, 1.0f - 6 * 0.0625f, 1.0f - 7 * 0.0625f));
}

TEST(TextOverlayGlyphs, BytesAbove127AreNegativeCodesOutsideTheAtlas) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    // 0xC8 is -56: column -8 and row -3 with truncating division.
    TextOverlay::buildGlyphs("\xC8", 0, 0, 10, positions, uvs);
    expectCorners(uvs, cellCorners(-0.5f, 1.1875f, 1.125f));

    // 0x80 is -128: column 0, row -8.
    TextOverlay::buildGlyphs("\x80", 0, 0, 10, positions, uvs);
    expectCorners(uvs, cellCorners(0.0f, 1.5f, 1.4375f));
    EXPECT_EQ(positions.size(), 6u);
}

TEST(TextOverlayGlyphs, EmptyOrMissingTextGivesNoVertices) {
    std::vector<glm::vec2> positions(3);
    std::vector<glm::vec2> uvs(3);
    TextOverlay::buildGlyphs("", 5, 5, 10, positions, uvs);
    EXPECT_TRUE(positions.empty());
    EXPECT_TRUE(uvs.empty());

    positions.resize(2);
    TextOverlay::buildGlyphs(nullptr, 5, 5, 10, positions, uvs);
    EXPECT_TRUE(positions.empty());
}

// --- Rendered text, read back from an 800 x 600 target ---

class TextOverlayGlTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        resources = std::make_unique<hudtest::StagedResources>();
        target = std::make_unique<hudtest::Target>(800, 600);
        ASSERT_TRUE(target->complete());
        overlay = std::make_unique<TextOverlay>();
        overlay->width = 800.0f;
        overlay->height = 600.0f;
    }

    void TearDown() override {
        overlay.reset();
        target.reset();
        resources.reset();
    }

    void initAndPrepareWindow() {
        overlay->init("../resources/textures/font.png");
        glViewport(0, 0, 800, 600);
    }

    // Pixels a tenth of the glyph inside its left-bottom and right-top corners (clear of the filtering
    // across cell borders) show its cell.
    void expectGlyph(char c, int left, int bottom, int size) const {
        const auto colour = glyphColour(static_cast<unsigned char>(c));
        const int inset = size / 10;
        EXPECT_EQ(target->pixel(left + inset, bottom + inset), colour) << "'" << c << "' at " << left;
        EXPECT_EQ(target->pixel(left + size - 1 - inset, bottom + size - 1 - inset), colour)
            << "'" << c << "' at " << left;
    }

    std::unique_ptr<hudtest::StagedResources> resources;
    std::unique_ptr<hudtest::Target> target;
    std::unique_ptr<TextOverlay> overlay;
};

TEST_F(TextOverlayGlTest, StringLandsOnItsPixelsWithEachGlyphFromItsCell) {
    initAndPrepareWindow();
    overlay->printText("Avg", 10, 550, 20);

    expectGlyph('A', 10, 550, 20);
    expectGlyph('v', 30, 550, 20);
    expectGlyph('g', 50, 550, 20);
    EXPECT_EQ(target->pixel(9, 560), kBackground);
    EXPECT_EQ(target->pixel(70, 560), kBackground);
    EXPECT_EQ(target->pixel(20, 549), kBackground);
    EXPECT_EQ(target->pixel(20, 570), kBackground);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextOverlayGlTest, TransparentTexelsLeaveTheFrameAndBlendingEndsDisabled) {
    initAndPrepareWindow();
    glEnable(GL_BLEND);
    overlay->printText("A A", 100, 100, 40);

    expectGlyph('A', 100, 100, 40);
    EXPECT_EQ(target->pixel(160, 120), kBackground);
    expectGlyph('A', 180, 100, 40);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
}

TEST_F(TextOverlayGlTest, TextStartingLeftOfTheWindowKeepsTheFollowingGlyphsInPlace) {
    initAndPrepareWindow();
    overlay->printText("Hi!", -25, 300, 20);

    // 'H' lies wholly off the window, 'i' spans -5..15 and '!' 15..35.
    EXPECT_EQ(target->pixel(0, 310), glyphColour('i'));
    EXPECT_EQ(target->pixel(12, 310), glyphColour('i'));
    expectGlyph('!', 15, 300, 20);
    EXPECT_EQ(target->pixel(36, 310), kBackground);
}

TEST_F(TextOverlayGlTest, EmptyTextAndHighBytesDrawSafely) {
    initAndPrepareWindow();
    overlay->printText("", 200, 200, 32);
    EXPECT_EQ(target->pixel(210, 210), kBackground);

    overlay->printText(
        "\xC8"
        "A",
        200, 200, 32);
    expectGlyph('A', 232, 200, 32);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextOverlayGlTest, PrintingBeforeInitDrawsNothing) {
    glViewport(0, 0, 800, 600);
    overlay->printText("A", 100, 100, 40);

    EXPECT_EQ(target->pixel(120, 120), kBackground);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextOverlayGlTest, FailedInitKeepsTheFontItHad) {
    initAndPrepareWindow();
    EXPECT_THROW(overlay->init("../resources/textures/missing.png"), common::gl::TextureExc);

    overlay->printText("A", 100, 100, 40);
    expectGlyph('A', 100, 100, 40);
}

}  // namespace
