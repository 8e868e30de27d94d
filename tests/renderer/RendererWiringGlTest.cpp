// The renderer's wiring, in this process: the real game as the entry point builds it, driven frame
// by frame and key by key as the main loop and the key callback drive it.

#include "app/Renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "camera/CameraPersp.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "gl/Texture.h"
#include "audio/GameAudio.h"
#include "gl/RenderTarget.h"
#include "hud/Guidance.h"
#include "progress/SettingsFile.h"
#include "progress/TimeTrial.h"
#include "scene/SceneController.h"
#include "tests/support/GlQueries.h"
#include "tests/support/InProcessGame.h"
#include "tests/support/TestFiles.h"

using common::app::Renderer;
using common::gl::ShaderController;
using common::gl::ShaderType;
using common::scene::GameEventType;
using common::scene::SceneController;
using testsupport::texParameter;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class RendererWiring : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        testsupport::capturedStdout([] { testsupport::startGameInProcess(kWidth, kHeight); });
    }

    Renderer& renderer = Renderer::instance();
    SceneController& scene = SceneController::instance();

    // Presses and releases `key` as the key callback does; returns what the game printed.
    std::string press(int key) {
        return testsupport::capturedStdout([&] {
            renderer.onKey(key, GLFW_PRESS);
            renderer.onKey(key, GLFW_RELEASE);
        });
    }

    // A new game, its warm-up and countdown run through: from here the scene advances every update.
    void startFlying() {
        press(GLFW_KEY_R);
        testsupport::runFrame(renderer);
        while (renderer.phase().countdownTimer <= 4.0f) {
            renderer.update(1.0 / 60.0);
        }
        renderer.draw();  // the countdown is over once it has been drawn past its end
        ASSERT_FALSE(renderer.phase().countdownActive);
    }

    void flyHalfASecond() {
        startFlying();
        for (int frame = 0; frame < 30; ++frame) {
            renderer.update(1.0 / 60.0);
        }
    }

    // Into the first ring: a step this short leaves the craft in its plane.
    void captureTheFirstRing() {
        renderer.session().race().placeCraft(glm::vec3(scene.ringTransforms[0][3]));
        renderer.update(1e-4);
        ASSERT_EQ(scene.score, 50);
    }

    // A game begun afresh: no score, the countdown from its start, announced by the next update.
    void expectAFreshCountdown() {
        EXPECT_EQ(scene.score, 0);
        EXPECT_TRUE(renderer.phase().countdownActive);
        EXPECT_EQ(renderer.phase().countdownTimer, 0.0f);
        EXPECT_EQ(renderer.phase().raceTime, 0.0);
        renderer.update(1.0 / 60.0);
        EXPECT_TRUE(eventSeen(GameEventType::Restarted));
        EXPECT_TRUE(eventSeen(GameEventType::CountdownTick, 3));
    }

    bool eventSeen(GameEventType type, int index = -1) const {
        return std::any_of(renderer.events().begin(), renderer.events().end(), [&](const auto& event) {
            return event.type == type && (index < 0 || event.index == index);
        });
    }

    // A uniform of one of the game's programs read back (the opacity is set by location 0).
    static float uniformFloat(ShaderType type, const char* name) {
        const GLuint program = ShaderController::instance().getShader(type)->handle;
        float value = NAN;
        glGetUniformfv(program, name ? glGetUniformLocation(program, name) : 0, &value);
        return value;
    }
};

// The window's RGB values in a rectangle, bottom row first.
std::vector<unsigned char> readRgb(int x, int y, int width, int height) {
    std::vector<unsigned char> pixels(std::size_t(width) * height * 3);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int differingValues(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        count += std::abs(int(a[i]) - int(b[i])) > 8 ? 1 : 0;
    }
    return count;
}

}  // namespace

// R puts every ring back and runs the countdown again. C loads the next course afresh, wrapping round
// the catalogue, and starts its countdown; the player's texture filter carries over to the new objects.
TEST_F(RendererWiring, RestartAndCourseKeysPutEveryRingBackAndRunTheCountdownAgain) {
    startFlying();
    const std::size_t ringCount = scene.rings.size();
    ASSERT_GT(ringCount, 1u);
    captureTheFirstRing();
    EXPECT_EQ(scene.rings.size(), ringCount - 1);
    EXPECT_TRUE(eventSeen(GameEventType::RingCaptured, 0));

    EXPECT_EQ(press(GLFW_KEY_R), "Debug:  Restart Game.\n");
    EXPECT_EQ(scene.rings.size(), ringCount);
    expectAFreshCountdown();

    startFlying();
    captureTheFirstRing();
    press(GLFW_KEY_F4);  // nearest
    const std::vector<common::scene::CourseInfo>& courses = renderer.courses().courses();
    std::size_t current = 0;
    while (courses[current].name != renderer.course().name) {
        ++current;
    }
    for (std::size_t step = 1; step <= courses.size(); ++step) {
        const common::scene::CourseInfo& next = courses[(current + step) % courses.size()];
        const std::string out = press(GLFW_KEY_C);
        EXPECT_EQ(out.substr(out.rfind("Debug: ")), "Debug:  Course " + next.name + ".\n") << out;
        EXPECT_EQ(renderer.course().name, next.name);
        EXPECT_EQ(scene.scenePath, next.scenePath);
        EXPECT_EQ(static_cast<int>(scene.rings.size() + scene.finishRings.size()), next.rings) << next.name;
        const auto* ring = dynamic_cast<const common::scene::CircleCheckpoint*>(scene.objects[1]);
        ASSERT_NE(ring, nullptr);
        EXPECT_EQ(texParameter(ring->part(0).texture->id, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
        expectAFreshCountdown();
    }
    press(GLFW_KEY_F4);
}

// The finish ring reached: one line with the course and the time flown since the countdown ended.
TEST_F(RendererWiring, TheFinishLogsTheCourseAndTheRaceTime) {
    flyHalfASecond();
    renderer.session().race().placeCraft(glm::vec3(scene.ringTransforms.back()[3]));
    const std::string out = testsupport::capturedStdout([&] { renderer.update(1e-4); });
    ASSERT_TRUE(scene.finished);
    EXPECT_EQ(out, "Debug: Finished " + renderer.course().name + " in 0.50 s\n");
}

// The game's own loop flies the race the par tool flies: the autopilot at 1/60 s, from the warm-up
// step through the countdown the HUD draws (and ends), finishes in the course's par time to the frame.
// The flight itself is drawn only as far as the race needs it: while the countdown shows.
TEST_F(RendererWiring, TheAutopilotInTheGamesLoopFinishesInTheParTime) {
    while (renderer.course().name != "coast") {
        press(GLFW_KEY_C);
    }
    renderer.session().setAutopilot(true);
    std::optional<double> finish;
    testsupport::capturedStdout([&] {
        for (int frame = 0; frame < 3000 && !finish; ++frame) {
            renderer.update(1.0 / 60.0);
            if (renderer.phase().countdownActive) {
                renderer.draw();
            }
            for (const auto& event : renderer.events()) {
                if (event.type == GameEventType::Finished) {
                    finish = event.time;
                }
            }
        }
    });
    renderer.session().setAutopilot(false);
    ASSERT_TRUE(finish) << "no finish; race time " << renderer.phase().raceTime;
    EXPECT_DOUBLE_EQ(*finish, renderer.course().par);
    EXPECT_EQ(scene.score,
              SceneController::kRingPoints * (renderer.course().rings - 1) + SceneController::kFinishPoints);
}

// The warm-up update places the camera; its jump is no motion, so the frozen countdown frame is drawn
// without any smear: the previous view-projection is the new one.
TEST_F(RendererWiring, TheFirstUpdateOfAGameKeepsNoPreviousViewProjection) {
    flyHalfASecond();
    press(GLFW_KEY_R);
    renderer.update(1.0 / 60.0);
    EXPECT_EQ(scene.viewProjection, scene.camera->projectionMatrix * scene.camera->viewMatrix);
}

// The warning shows at altitude 15 and not above. With the same scene drawn twice, guidance on and off
// differ only where the mark goes; N switches it.
TEST_F(RendererWiring, TheBlurUniformsTheLowAltitudeWarningAndTheGuidanceMarkFollowTheFlight) {
    startFlying();
    press(GLFW_KEY_F7);
    renderer.update(1.0 / 60.0);
    EXPECT_EQ(uniformFloat(ShaderType::BlurShader, "blurOn"), 0.0f);
    EXPECT_FLOAT_EQ(uniformFloat(ShaderType::BlurShader, "velocityScale"), 60.0f / 180.0f);
    press(GLFW_KEY_F7);
    // Two frames stamped with the same time: every figure that divides by the step stays finite.
    renderer.update(0.0);
    EXPECT_EQ(uniformFloat(ShaderType::BlurShader, "blurOn"), 1.0f);
    EXPECT_TRUE(std::isfinite(uniformFloat(ShaderType::BlurShader, "velocityScale")));
    EXPECT_TRUE(std::isfinite(renderer.averageFps));

    // The window's left middle, where the low-altitude warning sits, drawn at an altitude.
    const auto cornerAt = [&](float altitude) {
        scene.altitude = altitude;
        renderer.draw();
        return readRgb(20, kHeight / 2 + 10, 100, 100);
    };
    const auto above = cornerAt(15.1f);
    const auto at = cornerAt(15.0f);
    EXPECT_EQ(differingValues(cornerAt(15.1f), above), 0);
    EXPECT_GT(differingValues(at, above), 3000) << "the warning covers a good part of the corner";

    const auto frame = [] { return readRgb(0, 0, kWidth, kHeight); };
    EXPECT_EQ(press(GLFW_KEY_N), "Debug:  Guidance OFF\n");
    renderer.draw();
    const auto without = frame();
    EXPECT_EQ(press(GLFW_KEY_N), "Debug:  Guidance ON\n");
    renderer.draw();
    const auto with = frame();

    const std::optional<common::hud::GuidanceMark> mark = renderer.guidanceMark();
    ASSERT_TRUE(mark.has_value());
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::size_t i = (std::size_t(y) * kWidth + x) * 3;
            const bool differs =
                std::abs(int(with[i]) - int(without[i])) + std::abs(int(with[i + 1]) - int(without[i + 1])) >
                24;
            const bool inMark = x >= mark->area.x - 1 && x <= mark->area.x + mark->area.width + 1 &&
                                y >= mark->area.y - 1 && y <= mark->area.y + mark->area.height + 1;
            (inMark ? inside : outside) += differs ? 1 : 0;
        }
    }
    EXPECT_GT(inside, 50) << "no mark drawn";
    EXPECT_EQ(outside, 0);
}

// The frame is its list of passes: drawn with an observer (as the benchmark draws it), every pass is
// reported once, in the frame's order, and the picture is the one the plain draw gives.
TEST_F(RendererWiring, TheFrameReportsEachPassOnceInOrderAndDrawsTheSamePicture) {
    startFlying();
    renderer.update(1.0 / 60.0);
    renderer.draw();
    const auto plain = readRgb(0, 0, kWidth, kHeight);
    std::vector<std::string> passes;
    renderer.draw([&](const char* pass) { passes.emplace_back(pass); });
    const std::vector<std::string> frameOrder{"shadow maps", "scene", "ghost", "transparent discs",
                                              "composite",   "HUD",   "menu"};
    EXPECT_EQ(passes, frameOrder);
    EXPECT_EQ(differingValues(readRgb(0, 0, kWidth, kHeight), plain), 0);
}

// The filter and mipmap keys reach the ring parts; the transparency key sets the discs' opacity.
TEST_F(RendererWiring, FilterMipmapAndTransparencyKeysReachTheirGlState) {
    const auto* ring = dynamic_cast<const common::scene::CircleCheckpoint*>(scene.objects[1]);
    ASSERT_NE(ring, nullptr);
    ASSERT_GT(ring->partCount(), 0u);
    const GLuint texture = ring->part(0).texture->id;
    press(GLFW_KEY_F4);
    // Every part of every ring shows the switch, whether it shares its texture or not.
    for (const common::scene::SceneObject* object : scene.objects) {
        if (const auto* other = dynamic_cast<const common::scene::CircleCheckpoint*>(object)) {
            for (std::size_t i = 0; i < other->partCount(); ++i) {
                EXPECT_EQ(texParameter(other->part(i).texture->id, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
            }
        }
    }
    press(GLFW_KEY_F4);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    press(GLFW_KEY_F5);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    press(GLFW_KEY_F5);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    press(GLFW_KEY_F5);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);

    testsupport::runFrame(renderer);
    for (float opacity : {0.3f, 1.0f, 0.3f}) {
        EXPECT_FLOAT_EQ(uniformFloat(ShaderType::TransparentShader, nullptr), opacity);
        press(GLFW_KEY_F9);
    }
    press(GLFW_KEY_F9);
}

// The menu's entry for the settings brings every one to the game at once and saves them; a key that
// flips one of them saves it as well.
TEST_F(RendererWiring, ChangedSettingsReachTheGameAtOnceAndTheFile) {
    using common::progress::Settings;
    const Settings before = renderer.settings().current();
    Settings wanted = before;
    wanted.quality = common::app::Quality::Low;
    wanted.volume = 30;
    wanted.invertPitch = true;
    wanted.ghost = common::progress::GhostChoice::Par;
    wanted.frameRateHint = false;
    const std::string said = testsupport::capturedStdout([&] { renderer.settings().change(wanted); });
    EXPECT_NE(said.find(" Quality low"), std::string::npos) << said;
    EXPECT_EQ(scene.shadowMaps.front()->width, 512u);
    EXPECT_EQ(renderer.audio().volume(), 30);
    EXPECT_TRUE(renderer.session().invertPitch);
    EXPECT_EQ(renderer.timeTrial().ghostChoice(), common::progress::GhostChoice::Par);
    EXPECT_FALSE(renderer.frameRateHint().enabled());
    testsupport::runFrame(renderer);

    const auto file = common::progress::SettingsFile::defaultPath();
    const auto saved = [&] {
        return common::progress::SettingsFile(file, [](const std::string&) {}).load({});
    };
    EXPECT_EQ(saved(), wanted);
    press(GLFW_KEY_N);
    EXPECT_EQ(saved().guidance, !wanted.guidance);
    press(GLFW_KEY_N);
    testsupport::capturedStdout([&] { renderer.settings().change(before); });
    EXPECT_EQ(saved(), before);
}

// GL objects end with the context: the registry must not delete its programs at exit, after the
// context is gone. The child process makes every GL deletion fatal, then exits as main does.
void GLAPIENTRY deletionAfterTheContext(GLuint) {
    std::_Exit(3);
}

TEST_F(RendererWiring, NoProgramIsDeletedAtExit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ShaderController::instance();
            glfwTerminate();
            __glewDeleteProgram = deletionAfterTheContext;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

// The camera starts with the window's proportions. A new framebuffer size rebuilds the scene target and
// sets the camera; a minimised window (0 x 0) changes nothing and makes the loop wait.
TEST_F(RendererWiring, ANewWindowSizeRebuildsTheTargetAndTheCamera) {
    EXPECT_FLOAT_EQ(scene.camera->aspectRatio, 320.0f / 240.0f);
    renderer.onResize(400, 200);
    EXPECT_FLOAT_EQ(scene.camera->aspectRatio, 2.0f);
    EXPECT_EQ(texParameter(renderer.sceneTarget().colorTexture, GL_TEXTURE_WIDTH, 0), 400);
    EXPECT_EQ(texParameter(renderer.sceneTarget().velocityTexture, GL_TEXTURE_HEIGHT, 0), 200);
    renderer.onResize(0, 0);
    EXPECT_TRUE(renderer.minimised());
    EXPECT_EQ(texParameter(renderer.sceneTarget().colorTexture, GL_TEXTURE_WIDTH, 0), 400);
    renderer.onResize(kWidth, kHeight);
    EXPECT_FALSE(renderer.minimised());
    EXPECT_FLOAT_EQ(scene.camera->aspectRatio, 320.0f / 240.0f);
    EXPECT_EQ(texParameter(renderer.sceneTarget().depthTexture, GL_TEXTURE_WIDTH, 0), kWidth);
}
