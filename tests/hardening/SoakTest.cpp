// The real game loop for thousands of frames in this process: scripted flying, a restart every few
// hundred frames, every function key toggled over and over, and the course switched (C) at least
// fifty times after the warm-up, each course loaded afresh. Resident memory must stay flat after
// warm-up, the number of live GL objects must not change and the driver must report no OpenGL error.
//
// The frame count is SKYRINGS_SOAK_FRAMES (default 2000; CI runs 10000). The full soak:
//   SKYRINGS_SOAK_FRAMES=10000 ctest -R Soak --output-on-failure     (in a build directory, on a display)

#include <gtest/gtest.h>

#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/Renderer.h"
#include "audio/GameAudio.h"
#include "game/KeyInput.h"
#include "scene/SceneController.h"
#include "tests/support/InProcessGame.h"
#include "tests/support/ScriptedKeys.h"
#include "tests/support/TestFiles.h"

namespace {

using common::audio::GameAudio;

constexpr double kFrameTime = 1.0 / 60.0;
constexpr int kLongWarmUp = 1000;  // frames before the first measurement, runs of 2000 and more
constexpr int kRestartEvery = 300;
constexpr int kKeyEvery = 7;  // frames between two command keys
constexpr int kCommandKeys[] = {291, 292, 293, 294, 295, 296, 297, 298, 299, 77};  // F2 ... F10, M
constexpr int kRestartKey = 82;                                                    // R
constexpr int kCourseKey = 67;                                                     // C
constexpr int kMeasuredSwitches = 50;
constexpr long kAllowedGrowthKb = 4 * 1024;

int soakFrames() {
    const char* text = std::getenv("SKYRINGS_SOAK_FRAMES");
    const int frames = text ? std::atoi(text) : 2000;
    return std::max(frames, 2 * kRestartEvery);  // at least two restarts
}

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long total = 0;
    long resident = 0;
    statm >> total >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The GL objects alive now, by kind, found by asking the driver about every name it may have handed
// out (names below kHighestName; the driver counts up from 1 without reusing names soon, and every
// course switch makes about a thousand buffers afresh); then the sound's OpenAL sources and buffers.
constexpr GLuint kHighestName = 1 << 18;
const char* const kObjectKinds[] = {"textures", "buffers", "vertex arrays",  "framebuffers",  "renderbuffers",
                                    "programs", "shaders", "OpenAL sources", "OpenAL buffers"};

std::vector<int> liveObjects() {
    GLboolean (*const isA[])(GLuint) = {glIsTexture,      glIsBuffer,  glIsVertexArray, glIsFramebuffer,
                                        glIsRenderbuffer, glIsProgram, glIsShader};
    std::vector<int> live(std::size(isA));
    for (GLuint name = 1; name < kHighestName; ++name) {
        for (std::size_t kind = 0; kind < live.size(); ++kind) {
            live[kind] += isA[kind](name) ? 1 : 0;
        }
    }
    live.push_back(GameAudio::liveSources());
    live.push_back(GameAudio::liveBuffers());
    return live;
}

// The highest name handed out so far, of textures or buffers (the kinds made most).
GLuint nextName() {
    GLuint texture = 0;
    GLuint buffer = 0;
    glGenTextures(1, &texture);
    glDeleteTextures(1, &texture);
    glGenBuffers(1, &buffer);
    glDeleteBuffers(1, &buffer);
    return std::max(texture, buffer);
}

// Arrow keys held in turns, 40 frames each: climb, roll both ways, dive, and hands-off flight.
void steer(testsupport::ScriptedKeys& keys, int frame) {
    using namespace common::scene::keys;
    const std::set<int> turns[] = {{kDown}, {kLeft}, {kRight, kDown}, {kUp}, {kLeft, kUp}, {}};
    keys.held = turns[(frame / 40) % std::size(turns)];
}

void press(common::app::Renderer& renderer, int key) {
    renderer.onKey(key, 1);  // GLFW_PRESS
    renderer.onKey(key, 0);  // GLFW_RELEASE
}

// When C is pressed. Twenty times early in the warm-up, so the allocators have seen every course
// loaded a few times, and once more on its last frame; then evenly after it, a whole number of rounds
// of the courses (at least kMeasuredSwitches switches). The counts are taken right after the warm-up's
// last switch and right after the last one: the same course freshly loaded, before the wireframe view
// has made any box lines, which it makes for each object the first time the object is in view.
class CourseSwitches {
  public:
    CourseSwitches(int frames, int warmUp, int courses)
        : warmUp(warmUp),
          measured((kMeasuredSwitches + courses - 1) / courses * courses),
          every((frames - warmUp) / measured) {}

    bool due(int frame) const {
        if (frame < warmUp) {
            return (frame % kWarmUpEvery == kWarmUpEvery - 1 && frame < 20 * kWarmUpEvery) ||
                   frame == warmUp - 1;
        }
        return (frame - warmUp) % every == every - 1 && (frame - warmUp) / every < measured;
    }
    bool last(int frame) const { return frame == warmUp + measured * every - 1; }
    int measuredSwitches() const { return measured; }

  private:
    static constexpr int kWarmUpEvery = 10;
    int warmUp;
    int measured;
    int every;
};

// The renderer's keyboard commands, as the key callback delivers them.
void pressKeys(common::app::Renderer& renderer, int frame) {
    if (frame % kRestartEvery == kRestartEvery - 1) {
        press(renderer, kRestartKey);
    }
    if (frame % kKeyEvery == 0) {
        const int key = kCommandKeys[(frame / kKeyEvery) % std::size(kCommandKeys)];
        press(renderer, key);
    }
}

}  // namespace

TEST(Soak, ThousandsOfFramesWithRestartsAndEveryKeyKeepMemoryAndGlObjectsFlat) {
    // A tiny window keeps the frames fast; every pass still runs and the shadow maps keep their size.
    testsupport::beginStdoutCapture();
    common::app::Renderer& renderer = testsupport::startGameInProcess(128, 96);
    testsupport::ScriptedKeys keys;
    common::scene::SceneController::instance().setKeyInput(&keys);

    const int frames = soakFrames();
    const int warmUp = std::min(kLongWarmUp, frames / 2);  // shorter runs measure from their middle
    const CourseSwitches switches(frames, warmUp, static_cast<int>(renderer.courses().courses().size()));
    std::string warmCourse;
    std::string endCourse;
    int switchCount = 0;
    long warmKb = 0;
    std::vector<int> warmObjects;
    long endKb = 0;
    std::vector<int> endObjects;
    std::string residentSeries;  // every 1000 frames, so a slow leak shows as a steady climb
    for (int frame = 0; frame < frames; ++frame) {
        if (frame == warmUp) {
            warmKb = residentKb();
            warmObjects = liveObjects();
            warmCourse = renderer.course().name;
        }
        if (frame % 1000 == 0) {
            residentSeries += " " + std::to_string(residentKb());
        }
        steer(keys, frame);
        testsupport::runFrame(renderer, kFrameTime);
        pressKeys(renderer, frame);
        if (switches.due(frame)) {
            press(renderer, kCourseKey);
            switchCount += frame >= warmUp ? 1 : 0;
        }
        if (switches.last(frame)) {
            endKb = residentKb();
            endObjects = liveObjects();
            endCourse = renderer.course().name;
        }
    }
    const GLuint highestName = nextName();
    glFinish();
    const std::string out = testsupport::endStdoutCapture();

    EXPECT_EQ(out.find("OpenGL Error"), std::string::npos) << out.substr(out.find("OpenGL Error"), 2000);
    EXPECT_NE(out.find("Debug:  Restart Game."), std::string::npos);
    EXPECT_NE(out.find("Debug:  Show DepthMapFrustums ON"), std::string::npos);
    EXPECT_EQ(switchCount, switches.measuredSwitches());
    EXPECT_EQ(endCourse, warmCourse);
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's quarantine holds freed memory back; under it LeakSanitizer checks instead.
    EXPECT_LT(endKb - warmKb, kAllowedGrowthKb) << "resident kB every 1000 frames:" << residentSeries;
#endif
    ASSERT_LT(highestName, kHighestName) << "the count of live objects would miss some";
    for (std::size_t kind = 0; kind < endObjects.size(); ++kind) {
        EXPECT_EQ(endObjects[kind], warmObjects[kind]) << kObjectKinds[kind];
    }
    // The sound keeps its sources and buffers through restarts and mutes (M is pressed too).
    EXPECT_TRUE(renderer.audio().hasDevice()) << "the soak runs on OpenAL Soft's silent device";
}
