// The HUD drawn into an 800 x 600 framebuffer and read back, in a game directory of predictable pictures:
// a font atlas whose every cell has a colour of its own, and single-colour HUD images.
#include "hud/Hud.h"

#include <GL/glew.h>

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <glm/glm.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <numeric>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gl/ShaderController.h"
#include "gl/TextureExc.h"
#include "hud/TextOverlay.h"
#include "hud/TrialHud.h"
#include "progress/TimeTrial.h"
#include "scene/SceneController.h"
#include "tests/support/ColorTarget.h"
#include "tests/support/GlContext.h"
#include "tests/support/Picture.h"
#include "tests/support/TestFiles.h"

using common::hud::Hud;
using common::hud::TextOverlay;

namespace {

struct Rgba {
    int r, g, b, a;
    operator testsupport::Picture::Rgba() const {
        return {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), std::uint8_t(a)};
    }
};

// One step of slack for the rounding of blending and filtering.
bool operator==(const Rgba& x, const Rgba& y) {
    return std::abs(x.r - y.r) <= 1 && std::abs(x.g - y.g) <= 1 && std::abs(x.b - y.b) <= 1 &&
           std::abs(x.a - y.a) <= 1;
}

std::ostream& operator<<(std::ostream& out, const Rgba& p) {
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

constexpr Rgba kBackground{10, 200, 30, 255};
constexpr Rgba kDial{200, 40, 40, 255};
constexpr Rgba kNeedle{40, 40, 200, 255};
constexpr Rgba kScore{250, 250, 0, 255};
constexpr Rgba kWarning{250, 120, 0, 255};
constexpr Rgba kClear{0, 0, 0, 0};

// The test atlas's cell colour for a character: red tells the column, green the row; the blank is clear.
Rgba glyphColour(char c) {
    const int code = static_cast<unsigned char>(c);
    return c == ' ' ? kClear : Rgba{16 * (code % 16) + 8, 16 * (code / 16) + 8, 90, 255};
}

// Draws into an 800 x 600 RGBA8 framebuffer (the window's size) in a game directory of its own.
class HudFixture : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        stageResources();
        clear();
    }

    // Makes a fresh game directory the working directory (<tmp>/bin): the test pictures (the needle's
    // upper half and the warning's left half opaque), a flat height image for the scene controller,
    // and the staged shaders (all, or the families named).
    void stageResources(const std::vector<std::string>& shaderFamilies = {}) {
        namespace fs = std::filesystem;
        cwd.reset();
        const fs::path staged = fs::absolute("../resources/shaders");
        dir = std::make_unique<testsupport::TempDir>();
        const fs::path resources = dir->path() / "resources";
        for (const char* folder : {"bin", "resources/shaders", "resources/meshes"}) {
            fs::create_directories(dir->path() / folder);
        }
        for (const fs::directory_entry& family : fs::directory_iterator(staged)) {
            const std::string name = family.path().filename().string();
            if (shaderFamilies.empty() || std::count(shaderFamilies.begin(), shaderFamilies.end(), name)) {
                fs::create_directory_symlink(family.path(), resources / "shaders" / name);
            }
        }
        const fs::path textures = resources / "textures";
        testsupport::writePng(textures / "font.png", 256, 256,
                              [](int x, int y) { return glyphColour(char(y / 16 * 16 + x / 16)); });
        testsupport::writePng(textures / "altimeter.png", 8, 8, [](int, int) { return kDial; });
        testsupport::writePng(textures / "arrow.png", 8, 8,
                              [](int, int y) { return y < 4 ? kNeedle : kClear; });
        testsupport::writePng(textures / "score.png", 8, 8, [](int, int) { return kScore; });
        testsupport::writePng(textures / "warn.png", 8, 8,
                              [](int x, int) { return x < 4 ? kWarning : kClear; });
        FIBITMAP* flat = FreeImage_Allocate(8, 8, 24);
        EXPECT_TRUE(FreeImage_Save(FIF_BMP, flat, (resources / "meshes/heightmap.bmp").c_str(), 0));
        FreeImage_Unload(flat);
        cwd = std::make_unique<testsupport::ScopedCwd>(dir->path() / "bin");
    }

    // Binds and clears the target (800 x 600 unless another window size is given), leaving a one-pixel
    // viewport: drawing that does not set its own shows.
    void clear(int width = 800, int height = 600) {
        if (!target || targetSize != std::pair{width, height}) {
            target.reset();
            target = std::make_unique<testsupport::ColorTarget>(width, height);
            targetSize = {width, height};
        }
        target->bind();
        glClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glViewport(0, 0, 1, 1);
    }

    // The whole target, one packed RGBA value per pixel, to compare two drawings.
    std::vector<std::uint32_t> frame() const {
        std::vector<std::uint32_t> packed;
        for (const glm::vec4& p : target->read()) {
            const glm::uvec4 c(glm::round(p * 255.0f));
            packed.push_back(c.r | c.g << 8 | c.b << 16 | c.a << 24);
        }
        return packed;
    }

    Rgba pixel(int x, int y) const {
        const glm::vec4 p = glm::round(target->pixel(x, y) * 255.0f);
        return {int(p.r), int(p.g), int(p.b), int(p.a)};
    }

    // Each glyph's cell colour a tenth of the size inside two opposite corners (clear of the filtering
    // across cell borders), and the background just outside the line.
    void expectText(const std::string& text, int x, int y, int size) const {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int left = x + static_cast<int>(i) * size;
            const Rgba colour = text[i] == ' ' ? kBackground : glyphColour(text[i]);
            EXPECT_EQ(pixel(left + size / 10, y + size / 10), colour) << "'" << text[i] << "' at " << left;
            EXPECT_EQ(pixel(left + size - 1 - size / 10, y + size - 1 - size / 10), colour) << "at " << left;
        }
        const int right = x + static_cast<int>(text.size()) * size;
        for (auto [outsideX, outsideY] : {std::pair{x - 1, y + size / 2},
                                          {right, y + size / 2},
                                          {x + size / 2, y - 1},
                                          {x + size / 2, y + size}}) {
            EXPECT_EQ(pixel(outsideX, outsideY), kBackground) << outsideX << ", " << outsideY;
        }
    }

    // Destroyed in reverse: the target, then back to the previous folder, then the game directory.
    std::unique_ptr<testsupport::TempDir> dir;
    std::unique_ptr<testsupport::ScopedCwd> cwd;
    std::unique_ptr<testsupport::ColorTarget> target;
    std::pair<int, int> targetSize;
};

using HudGlTest = HudFixture;

// A text overlay of its own draws only with a loaded font, and a failed load keeps the last one; the
// Hud's lines land in their places. Each image is checked just inside and outside its square; blending
// ends disabled.
TEST_F(HudGlTest, EveryLineLandsInItsPlaceAndImagesFillTheirSquares) {
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

    // A batch draws nothing until flushed, then every string it collected, as printing each would.
    const auto printTwo = [&] {
        clear();
        glViewport(0, 0, 800, 600);
        overlay.printText("HI", 100, 100, 40);
        overlay.printText("yo", 300, 200, 20);
    };
    printTwo();
    const std::vector<std::uint32_t> oneByOne = frame();
    overlay.beginBatch();
    printTwo();
    EXPECT_EQ(pixel(110, 110), kBackground);
    overlay.flush();
    expectText("HI", 100, 100, 40);
    EXPECT_TRUE(frame() == oneByOne);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);

    // Through the Hud. Building the scene controller (once per process) binds framebuffers of its own;
    // clear() rebinds.
    common::scene::SceneController::instance();
    Hud hud(800, 600);
    const std::tuple<std::function<void()>, const char*, int, int, int> lines[] = {
        {[&] { hud.drawGameOver(); }, "GAME OVER", 175, 300, 50},
        {[&] { EXPECT_FALSE(hud.drawCountdown(1.0)); }, "3", 360, 300, 80},
        {[&] { EXPECT_TRUE(hud.drawCountdown(4.01)); }, "0", 360, 300, 80},  // the last frame shows 0
        {[&] { hud.drawFinish(); }, "Finish!", 260, 300, 40},
        {[&] { hud.drawPoints(120); }, "Your Points: 120", 80, 240, 40},
        {[&] { hud.drawAverageFps(59.5f); }, "Avg. FPS: 59.50", 10, 550, 20},
        {[&] { hud.drawTriangleCount(1234); }, "Triangle count: 1234", 10, 520, 20},
        {[&] { hud.drawScore(150); }, " 150", 44, 64, 20},
    };
    for (const auto& [draw, text, x, y, size] : lines) {
        SCOPED_TRACE(text);
        clear();
        draw();
        expectText(text, x, y, size);
    }

    // Drawing, pixels of a colour, and pixels of the background.
    const std::tuple<std::function<void()>, std::vector<std::tuple<int, int, Rgba>>,
                     std::vector<std::pair<int, int>>>
        images[] = {
            {[&] { hud.drawScoreIcon(); },
             {{10, 15, kScore}, {137, 142, kScore}},
             {{9, 50}, {138, 50}, {50, 14}, {50, 143}}},
            // The score's blank is clear: the icon shows through it.
            {[&] { hud.drawScoreIcon(), hud.drawScore(0); },
             {{54, 74, kScore}, {66, 66, glyphColour('0')}, {81, 81, glyphColour('0')}, {90, 74, kScore}},
             {}},
            // The warning's left half is opaque, its right half clear (filtering blends the two near the
            // middle and, wrapping, near the left edge).
            {[&] { hud.drawWarning(); },
             {{30, 300, kWarning}, {30, 427, kWarning}},
             {{30, 299}, {30, 428}, {9, 350}, {120, 350}, {138, 350}}},
            // The needle's opaque half points up at angle 0 and right at -90 degrees (height 90).
            {[&] { hud.drawAltimeter(0.0f); },
             {{544, 40, kDial}, {600, 40, kDial}, {600, 220, kNeedle}, {799, 220, kNeedle}},
             {{543, 100}, {600, 256}}},
            {[&] { hud.drawAltimeter(-90.0f); },
             {{560, 128, kDial}, {700, 128, kNeedle}, {780, 128, kNeedle}},
             {{543, 128}}},
        };
    int image = 0;
    for (const auto& [draw, coloured, background] : images) {
        SCOPED_TRACE(image++);
        clear();
        draw();
        for (const auto& [x, y, colour] : coloured) {
            EXPECT_EQ(pixel(x, y), colour) << x << ", " << y;
        }
        for (const auto& [x, y] : background) {
            EXPECT_EQ(pixel(x, y), kBackground) << x << ", " << y;
        }
        EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    }
}

// A Hud built for one window size and then resized (a larger window, full screen) draws every item, the
// texts of the overlay and of the time trial included, exactly where a Hud built at the new size does:
// the countdown digit in the middle of the window.
TEST_F(HudGlTest, AResizedHudDrawsEveryItemWhereOneBuiltAtItsNewSizeDoes) {
    constexpr int kWidth = 1200, kHeight = 900;
    common::scene::SceneController::instance().score = 150;
    common::progress::RunSummary run;
    run.time = 83.4;
    run.previousBest = 80.0;
    run.ringsCaptured = run.ringCount = 25;
    run.medal = common::scene::Medal::Gold;
    const common::hud::TrialHud trial(common::hud::TextOverlay::instance());
    const std::pair<const char*, std::function<void(Hud&)>> items[] = {
        {"countdown", [](Hud& hud) { hud.drawCountdown(2.5); }},
        {"frame rate lines", [](Hud& hud) { hud.drawAverageFps(59.5f), hud.drawTriangleCount(1234); }},
        {"finish", [](Hud& hud) { hud.drawFinish(), hud.drawPoints(120); }},
        {"game over", [](Hud& hud) { hud.drawGameOver(); }},
        {"instruments",
         [](Hud& hud) {
             hud.drawAltimeter(-90.0f), hud.drawScoreIcon(), hud.drawScore(0), hud.drawWarning();
         }},
        {"time trial",
         [&](Hud&) {
             trial.drawClock(run.time, kWidth, kHeight), trial.drawSplit(-0.84, kWidth, kHeight);
             trial.drawSummary(run, kWidth, kHeight), trial.drawPaused(kWidth, kHeight);
         }},
    };

    Hud hud(800, 600);
    clear();
    hud.drawCountdown(0.5);
    expectText("3", 360, 300, 80);
    hud.resize(kWidth, kHeight);
    std::vector<std::vector<std::uint32_t>> resized;
    for (const auto& [name, draw] : items) {
        clear(kWidth, kHeight);
        draw(hud);
        resized.push_back(frame());
    }
    clear(kWidth, kHeight);
    hud.drawCountdown(2.5);
    expectText("1", 560, 450, 80);

    Hud built(kWidth, kHeight);
    for (std::size_t i = 0; i < resized.size(); ++i) {
        clear(kWidth, kHeight);
        items[i].second(built);
        const std::vector<std::uint32_t> expected = frame();
        const auto differing = std::inner_product(expected.begin(), expected.end(), resized[i].begin(), 0,
                                                  std::plus<>(), std::not_equal_to<>());
        EXPECT_EQ(differing, 0) << items[i].first << ": pixels that differ";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// In a process of its own, as the shader registry is built once per process.
using HudWithoutArrowProgramDeathTest = HudFixture;
TEST_F(HudWithoutArrowProgramDeathTest, DrawsTheDialAndLeavesTheNeedleOut) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto drawAltimeter = [this] {
        stageResources({"quadShader", "textShader"});
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
