#include "hud/Hud.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "scene/SceneController.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/GlContext.h"

using common::hud::Hud;
using hudtest::glyphColour;
using hudtest::kBackground;
using hudtest::kDialColour;
using hudtest::kNeedleColour;
using hudtest::kScoreColour;
using hudtest::kWarningColour;

namespace {

// --- Countdown rule and needle matrix (no GL) ---

TEST(HudCountdown, ShowsTheDigitOfEachSecondAndEndsAfterFour) {
    struct Case {
        double t;
        const char* text;
        bool over;
    };
    const Case cases[] = {{0.0, "3", false}, {1.0, "3", false}, {1.01, "2", false}, {2.0, "2", false},
                          {3.0, "1", false}, {3.5, "0", false}, {4.0, "0", false},  {4.01, "0", true}};
    for (const Case& c : cases) {
        EXPECT_STREQ(Hud::countdownText(c.t), c.text) << "t = " << c.t;
        EXPECT_EQ(Hud::countdownOver(c.t), c.over) << "t = " << c.t;
    }
}

TEST(HudNeedle, MatrixTurnsAboutTheViewAxisByTheAngleInDegrees) {
    // Height 90 gives the angle -90: first column (0, -1), second (1, 0).
    const glm::mat4 down = Hud::needleMatrix(-90.0f);
    EXPECT_NEAR(down[0][0], 0.0f, 1e-6f);
    EXPECT_NEAR(down[0][1], -1.0f, 1e-6f);
    EXPECT_NEAR(down[1][0], 1.0f, 1e-6f);
    EXPECT_NEAR(down[1][1], 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(down[2][2], 1.0f);
    EXPECT_FLOAT_EQ(down[3][3], 1.0f);

    // A positive angle turns counter-clockwise.
    const glm::mat4 up = Hud::needleMatrix(30.0f);
    EXPECT_NEAR(up[0][0], std::sqrt(3.0f) / 2.0f, 1e-6f);
    EXPECT_NEAR(up[0][1], 0.5f, 1e-6f);
    EXPECT_NEAR(up[1][0], -0.5f, 1e-6f);
}

// --- Placements in an 800 x 600 window, read back from the rendered pixels ---

class HudGlTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        resources = std::make_unique<hudtest::StagedResources>();
        target = std::make_unique<hudtest::Target>(800, 600);
        ASSERT_TRUE(target->complete());
        hud = std::make_unique<Hud>(800, 600);
        target->clear();
    }

    void TearDown() override {
        hud.reset();
        target.reset();
        resources.reset();
    }

    // The glyphs of text, size pixels each from (x, y), each checked near two opposite corners (a tenth
    // of the glyph inside, clear of the filtering across cell borders), and the background around them.
    void expectText(const std::string& text, int x, int y, int size) const {
        const int inset = size / 10;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int left = x + static_cast<int>(i) * size;
            const auto colour =
                text[i] == ' ' ? kBackground : glyphColour(static_cast<unsigned char>(text[i]));
            EXPECT_EQ(target->pixel(left + inset, y + inset), colour)
                << "'" << text[i] << "' at x = " << left;
            EXPECT_EQ(target->pixel(left + size - 1 - inset, y + size - 1 - inset), colour)
                << "'" << text[i] << "' at x = " << left;
        }
        // Nothing just outside the line.
        const int right = x + static_cast<int>(text.size()) * size;
        EXPECT_EQ(target->pixel(x - 1, y + size / 2), kBackground);
        EXPECT_EQ(target->pixel(right, y + size / 2), kBackground);
        EXPECT_EQ(target->pixel(x + size / 2, y - 1), kBackground);
        EXPECT_EQ(target->pixel(x + size / 2, y + size), kBackground);
    }

    std::unique_ptr<hudtest::StagedResources> resources;
    std::unique_ptr<hudtest::Target> target;
    std::unique_ptr<Hud> hud;
};

TEST_F(HudGlTest, GameOverStartsAt175OnTheMiddleLine) {
    hud->drawGameOver();
    expectText("GAME OVER", 175, 300, 50);
}

TEST_F(HudGlTest, CountdownDigitIsCentredAndTheLastFrameStillShowsZero) {
    EXPECT_FALSE(hud->drawCountdown(1.0));
    expectText("3", 360, 300, 80);

    target->clear();
    EXPECT_FALSE(hud->drawCountdown(3.5));
    expectText("0", 360, 300, 80);

    target->clear();
    EXPECT_TRUE(hud->drawCountdown(4.01));
    expectText("0", 360, 300, 80);
}

TEST_F(HudGlTest, FinishAndPointsAreCentredAboveAndBelowTheMiddle) {
    hud->drawFinish();
    expectText("Finish!", 260, 300, 40);

    target->clear();
    hud->drawPoints(120);
    expectText("Your Points: 120", 80, 240, 40);
}

TEST_F(HudGlTest, DebugLinesSitAtTheUpperLeft) {
    hud->drawAverageFps(59.5f);
    expectText("Avg. FPS: 59.50", 10, 550, 20);

    target->clear();
    hud->drawTriangleCount(1234);
    expectText("Triangle count: 1234", 10, 520, 20);
}

TEST_F(HudGlTest, ScoreIconFillsItsSquareAndBlendingEndsDisabled) {
    hud->drawScoreIcon();

    EXPECT_EQ(target->pixel(10, 15), kScoreColour);
    EXPECT_EQ(target->pixel(137, 142), kScoreColour);
    EXPECT_EQ(target->pixel(9, 50), kBackground);
    EXPECT_EQ(target->pixel(138, 50), kBackground);
    EXPECT_EQ(target->pixel(50, 14), kBackground);
    EXPECT_EQ(target->pixel(50, 143), kBackground);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
}

TEST_F(HudGlTest, ScoreIsABlankAndTheNumberInsideTheIcon) {
    // Building the scene controller (once per process) binds and releases framebuffers of its own.
    auto& scene = common::scene::SceneController::instance();
    target->bind();
    scene.score = 0;
    hud->drawScoreIcon();
    hud->drawScore();
    // The blank is transparent, so the icon shows through it.
    EXPECT_EQ(target->pixel(54, 74), kScoreColour);
    EXPECT_EQ(target->pixel(66, 66), glyphColour('0'));
    EXPECT_EQ(target->pixel(81, 81), glyphColour('0'));
    EXPECT_EQ(target->pixel(90, 74), kScoreColour);

    target->clear();
    scene.score = 150;
    hud->drawScore();
    expectText(" 150", 44, 64, 20);
}

TEST_F(HudGlTest, WarningIsBlendedWithItsLowerEdgeOnTheMiddleLine) {
    hud->drawWarning();

    // The image's left half is opaque, its right half transparent (filtering blends the two near the
    // middle and, wrapping, near the left edge).
    EXPECT_EQ(target->pixel(30, 299), kBackground);
    EXPECT_EQ(target->pixel(30, 300), kWarningColour);
    EXPECT_EQ(target->pixel(30, 427), kWarningColour);
    EXPECT_EQ(target->pixel(30, 428), kBackground);
    EXPECT_EQ(target->pixel(9, 350), kBackground);
    EXPECT_EQ(target->pixel(120, 350), kBackground);
    EXPECT_EQ(target->pixel(138, 350), kBackground);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
}

TEST_F(HudGlTest, DialFillsTheLowerRightSquareAndTheNeedleTurns) {
    // Angle 0: the needle's opaque half points up.
    hud->drawAltimeter(0.0f);
    EXPECT_EQ(target->pixel(544, 40), kDialColour);
    EXPECT_EQ(target->pixel(799, 220), kNeedleColour);
    EXPECT_EQ(target->pixel(543, 100), kBackground);
    EXPECT_EQ(target->pixel(600, 256), kBackground);
    EXPECT_EQ(target->pixel(600, 40), kDialColour);
    EXPECT_EQ(target->pixel(600, 220), kNeedleColour);

    // Height 90 gives -90 degrees: the opaque half now points right.
    target->clear();
    hud->drawAltimeter(-90.0f);
    EXPECT_EQ(target->pixel(560, 128), kDialColour);
    EXPECT_EQ(target->pixel(700, 128), kNeedleColour);
    EXPECT_EQ(target->pixel(780, 128), kNeedleColour);
    EXPECT_EQ(target->pixel(543, 128), kBackground);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);

    auto* arrow = common::gl::ShaderController::instance().getShader(common::gl::ShaderType::ArrowShader);
    ASSERT_NE(arrow, nullptr);
    float rotate[16] = {};
    glGetUniformfv(arrow->handle, glGetUniformLocation(arrow->handle, "rotate"), rotate);
    EXPECT_NEAR(rotate[0], 0.0f, 1e-6f);
    EXPECT_NEAR(rotate[1], -1.0f, 1e-6f);
    EXPECT_NEAR(rotate[4], 1.0f, 1e-6f);
    EXPECT_NEAR(rotate[5], 0.0f, 1e-6f);
}

// --- A registry without the arrow program ---

// Runs in a process of its own (the shader registry is built once per process): builds a registry from a
// shader folder that lacks the arrow family and draws the altimeter. Returns 0 when only the dial shows.
int drawAltimeterWithoutArrowProgram() {
    testsupport::ensureGlContext();
    hudtest::StagedResources resources({"quadShader", "textShader"});
    if (common::gl::ShaderController::instance().getShader(common::gl::ShaderType::ArrowShader) != nullptr) {
        return 2;
    }
    hudtest::Target target(800, 600);
    Hud hud(800, 600);
    target.clear();
    hud.drawAltimeter(-90.0f);
    const bool dialOnly = target.pixel(560, 128) == kDialColour && target.pixel(700, 128) == kDialColour;
    return dialOnly && glGetError() == GL_NO_ERROR ? 0 : 3;
}

TEST(HudWithoutArrowProgramDeathTest, DrawsTheDialAndLeavesTheNeedleOut) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(drawAltimeterWithoutArrowProgram()), testing::ExitedWithCode(0), "");
}

// --- The generated artwork, once the resource generator has staged it ---

TEST(HudRealArtwork, LoadsAndDraws) {
    const std::filesystem::path textures =
        std::filesystem::path(SKYRINGS_STAGE_DIR) / "resources" / "textures";
    for (const char* name : {"font.png", "altimeter.png", "arrow.png", "score.png", "warn.png"}) {
        if (!std::filesystem::exists(textures / name)) {
            GTEST_SKIP() << "not generated yet: " << (textures / name);
        }
    }
    testsupport::ensureGlContext();
    ASSERT_FALSE(HasFatalFailure());
    hudtest::Target target(800, 600);
    Hud hud(800, 600);
    target.clear();
    hud.drawAltimeter(-45.0f);
    hud.drawGameOver();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_GT(target.countDifferent(544, 0, 256, 256, kBackground), 0) << "dial";
    EXPECT_GT(target.countDifferent(175, 300, 450, 50, kBackground), 0) << "GAME OVER";
    EXPECT_EQ(target.countDifferent(0, 400, 800, 100, kBackground), 0) << "nothing else";
}

}  // namespace
