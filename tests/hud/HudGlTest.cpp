#include "hud/Hud.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "gl/ShaderController.h"
#include "scene/SceneController.h"
#include "tests/hud/HudTestSupport.h"

using common::hud::Hud;
using namespace hudtest;

namespace {

// --- the countdown rule and the needle matrix (no GL) ---

TEST(HudCountdown, ShowsTheDigitOfEachSecondAndEndsAfterFour) {
    const std::tuple<double, const char*, bool> cases[] = {
        {0.0, "3", false}, {1.0, "3", false}, {1.01, "2", false}, {2.0, "2", false},
        {3.0, "1", false}, {3.5, "0", false}, {4.0, "0", false},  {4.01, "0", true}};
    for (const auto& [t, text, over] : cases) {
        EXPECT_STREQ(Hud::countdownText(t), text) << "t = " << t;
        EXPECT_EQ(Hud::countdownOver(t), over) << "t = " << t;
    }
}

// The first two columns are (cos a, sin a) and (-sin a, cos a): a positive angle turns counter-clockwise.
TEST(HudNeedle, MatrixTurnsAboutTheViewAxisByTheAngleInDegrees) {
    for (const auto& [angle, cosine, sine] :
         {std::tuple{-90.0f, 0.0f, -1.0f}, {30.0f, std::sqrt(3.0f) / 2, 0.5f}}) {
        const glm::mat4 m = Hud::needleMatrix(angle);
        EXPECT_LT(glm::distance(m[0], glm::vec4(cosine, sine, 0.0f, 0.0f)), 1e-6f) << angle;
        EXPECT_LT(glm::distance(m[1], glm::vec4(-sine, cosine, 0.0f, 0.0f)), 1e-6f) << angle;
        EXPECT_EQ(m[2], glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
        EXPECT_EQ(m[3], glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    }
}

// --- placements in an 800 x 600 window, read back from the drawn pixels ---

class HudGlTest : public HudFixture {
  protected:
    void SetUp() override {
        HudFixture::SetUp();
        hud = std::make_unique<Hud>(800, 600);
    }

    void TearDown() override {
        hud.reset();
        HudFixture::TearDown();
    }

    std::unique_ptr<Hud> hud;
};

TEST_F(HudGlTest, EveryLineLandsInItsPlace) {
    // Building the scene controller (once per process) binds framebuffers of its own; clear() rebinds.
    common::scene::SceneController::instance().score = 150;
    const std::tuple<std::function<void()>, const char*, int, int, int> lines[] = {
        {[&] { hud->drawGameOver(); }, "GAME OVER", 175, 300, 50},
        {[&] { EXPECT_FALSE(hud->drawCountdown(1.0)); }, "3", 360, 300, 80},
        {[&] { EXPECT_TRUE(hud->drawCountdown(4.01)); }, "0", 360, 300, 80},  // the last frame shows 0
        {[&] { hud->drawFinish(); }, "Finish!", 260, 300, 40},
        {[&] { hud->drawPoints(120); }, "Your Points: 120", 80, 240, 40},
        {[&] { hud->drawAverageFps(59.5f); }, "Avg. FPS: 59.50", 10, 550, 20},
        {[&] { hud->drawTriangleCount(1234); }, "Triangle count: 1234", 10, 520, 20},
        {[&] { hud->drawScore(); }, " 150", 44, 64, 20},
    };
    for (const auto& [draw, text, x, y, size] : lines) {
        SCOPED_TRACE(text);
        clear();
        draw();
        expectText(text, x, y, size);
    }
}

// Each image checked just inside and outside its square; blending ends disabled.
TEST_F(HudGlTest, ImagesFillTheirSquares) {
    common::scene::SceneController::instance().score = 0;
    struct Image {
        std::function<void()> draw;
        std::vector<std::tuple<int, int, Rgba>> coloured;
        std::vector<std::pair<int, int>> background;
    };
    const Image images[] = {
        {[&] { hud->drawScoreIcon(); },
         {{10, 15, kScore}, {137, 142, kScore}},
         {{9, 50}, {138, 50}, {50, 14}, {50, 143}}},
        // The score's blank is clear: the icon shows through it.
        {[&] { hud->drawScoreIcon(), hud->drawScore(); },
         {{54, 74, kScore}, {66, 66, glyphColour('0')}, {81, 81, glyphColour('0')}, {90, 74, kScore}},
         {}},
        // The warning's left half is opaque, its right half clear (filtering blends the two near the middle
        // and, wrapping, near the left edge).
        {[&] { hud->drawWarning(); },
         {{30, 300, kWarning}, {30, 427, kWarning}},
         {{30, 299}, {30, 428}, {9, 350}, {120, 350}, {138, 350}}},
        // The needle's opaque half points up at angle 0 and right at -90 degrees (height 90).
        {[&] { hud->drawAltimeter(0.0f); },
         {{544, 40, kDial}, {600, 40, kDial}, {600, 220, kNeedle}, {799, 220, kNeedle}},
         {{543, 100}, {600, 256}}},
        {[&] { hud->drawAltimeter(-90.0f); },
         {{560, 128, kDial}, {700, 128, kNeedle}, {780, 128, kNeedle}},
         {{543, 128}}},
    };
    for (std::size_t i = 0; i < std::size(images); ++i) {
        SCOPED_TRACE(i);
        clear();
        images[i].draw();
        for (const auto& [x, y, colour] : images[i].coloured) {
            EXPECT_EQ(pixel(x, y), colour) << x << ", " << y;
        }
        for (const auto& [x, y] : images[i].background) {
            EXPECT_EQ(pixel(x, y), kBackground) << x << ", " << y;
        }
        EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    }
}

// In a process of its own, as the shader registry is built once per process.
using HudWithoutArrowProgramDeathTest = HudFixture;
TEST_F(HudWithoutArrowProgramDeathTest, DrawsTheDialAndLeavesTheNeedleOut) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto drawAltimeter = [this] {
        StagedResources withoutArrow({"quadShader", "textShader"});
        Hud hud(800, 600);
        clear();
        hud.drawAltimeter(-90.0f);
        const bool dialOnly = pixel(560, 128) == kDial && pixel(700, 128) == kDial;
        const auto* arrow =
            common::gl::ShaderController::instance().getShader(common::gl::ShaderType::ArrowShader);
        return dialOnly && arrow == nullptr && glGetError() == GL_NO_ERROR;
    };
    EXPECT_EXIT(std::exit(drawAltimeter() ? 0 : 1), testing::ExitedWithCode(0), "");
}

}  // namespace
