// The real game loop for thousands of frames in this process: scripted flying, a restart every few
// hundred frames and every function key toggled over and over. Resident memory must stay flat after
// warm-up, the number of live GL objects must not change and the driver must report no OpenGL error.
//
// The frame count is SKYRINGS_SOAK_FRAMES (default 2000; CI runs 10000). The full soak:
//   SKYRINGS_SOAK_FRAMES=10000 ctest -R Soak --output-on-failure     (in a build directory, on a display)

#include <gtest/gtest.h>

#include <GL/glew.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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
constexpr int kPress = 1;     // GLFW_PRESS
constexpr int kRelease = 0;   // GLFW_RELEASE
constexpr int kCommandKeys[] = {291, 292, 293, 294, 295, 296, 297, 298, 299, 77};  // F2 ... F10, M
constexpr int kRestartKey = 82;                                                    // R
constexpr long kAllowedGrowthKb = 4 * 1024;

int soakFrames() {
    const char* text = std::getenv("SKYRINGS_SOAK_FRAMES");
    const int frames = text ? std::atoi(text) : 2000;
    return std::max(frames, 2 * kRestartEvery);  // at least two restarts
}

// Shorter runs (the one under the sanitizers) measure from their middle.
int warmUpFrames(int frames) {
    return std::min(kLongWarmUp, frames / 2);
}

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long total = 0;
    long resident = 0;
    statm >> total >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The GL objects alive now, by kind, found by asking the driver about every name it may have handed
// out (names below kHighestName; the driver counts up from 1 and this game makes a few hundred).
constexpr GLuint kHighestName = 1 << 16;
const char* const kObjectKinds[] = {"textures",      "buffers",  "vertex arrays", "framebuffers",
                                    "renderbuffers", "programs", "shaders"};

std::vector<int> liveObjects() {
    GLboolean (*const isA[])(GLuint) = {glIsTexture,      glIsBuffer,  glIsVertexArray, glIsFramebuffer,
                                        glIsRenderbuffer, glIsProgram, glIsShader};
    std::vector<int> live(std::size(isA));
    for (GLuint name = 1; name < kHighestName; ++name) {
        for (std::size_t kind = 0; kind < live.size(); ++kind) {
            live[kind] += isA[kind](name) ? 1 : 0;
        }
    }
    return live;
}

GLuint nextTextureName() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glDeleteTextures(1, &name);
    return name;
}

// Arrow keys held in turns, 40 frames each: climb, roll both ways, dive, and hands-off flight.
void steer(testsupport::ScriptedKeys& keys, int frame) {
    using namespace common::scene::keys;
    const std::set<int> turns[] = {{kDown}, {kLeft}, {kRight, kDown}, {kUp}, {kLeft, kUp}, {}};
    keys.held = turns[(frame / 40) % std::size(turns)];
}

// The renderer's keyboard commands, as the key callback delivers them.
void pressKeys(common::app::Renderer& renderer, int frame) {
    if (frame % kRestartEvery == kRestartEvery - 1) {
        renderer.onKey(kRestartKey, kPress);
        renderer.onKey(kRestartKey, kRelease);
    }
    if (frame % kKeyEvery == 0) {
        const int key = kCommandKeys[(frame / kKeyEvery) % std::size(kCommandKeys)];
        renderer.onKey(key, kPress);
        renderer.onKey(key, kRelease);
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
    const int warmUp = warmUpFrames(frames);
    long warmKb = 0;
    int warmSources = 0;
    int warmBuffers = 0;
    std::vector<int> warmObjects;
    std::string residentSeries;  // every 1000 frames, so a slow leak shows as a steady climb
    for (int frame = 0; frame < frames; ++frame) {
        if (frame == warmUp) {
            warmKb = residentKb();
            warmObjects = liveObjects();
            warmSources = GameAudio::liveSources();
            warmBuffers = GameAudio::liveBuffers();
        }
        if (frame % 1000 == 0) {
            residentSeries += " " + std::to_string(residentKb());
        }
        steer(keys, frame);
        testsupport::runFrame(renderer, kFrameTime);
        pressKeys(renderer, frame);
    }
    const long endKb = residentKb();
    const std::vector<int> endObjects = liveObjects();
    const GLuint highestName = nextTextureName();
    glFinish();
    const std::string out = testsupport::endStdoutCapture();

    std::printf("Soak: %d frames; resident memory %ld kB at frame %d, %ld kB at the end (%+ld kB)\n", frames,
                warmKb, warmUp, endKb, endKb - warmKb);
    std::printf("Soak: resident memory every 1000 frames (kB):%s\n", residentSeries.c_str());
    EXPECT_EQ(out.find("OpenGL Error"), std::string::npos) << out.substr(out.find("OpenGL Error"), 2000);
    EXPECT_NE(out.find("Debug:  Restart Game."), std::string::npos);
    EXPECT_NE(out.find("Debug:  Show DepthMapFrustums ON"), std::string::npos);
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's quarantine holds freed memory back; under it LeakSanitizer checks instead.
    EXPECT_LT(endKb - warmKb, kAllowedGrowthKb);
#endif
    ASSERT_LT(highestName, kHighestName) << "the count of live objects would miss some";
    for (std::size_t kind = 0; kind < endObjects.size(); ++kind) {
        std::printf("Soak: live %s at frame %d and at the end: %d / %d\n", kObjectKinds[kind], warmUp,
                    warmObjects[kind], endObjects[kind]);
        EXPECT_EQ(endObjects[kind], warmObjects[kind]) << kObjectKinds[kind];
    }
    // The sound keeps its sources and buffers through restarts and mutes (M is pressed too).
    std::printf("Soak: OpenAL sources %d / %d, buffers %d / %d\n", warmSources, GameAudio::liveSources(),
                warmBuffers, GameAudio::liveBuffers());
    EXPECT_TRUE(renderer.audio().hasDevice()) << "the soak runs on OpenAL Soft's silent device";
    EXPECT_EQ(GameAudio::liveSources(), warmSources);
    EXPECT_EQ(GameAudio::liveBuffers(), warmBuffers);
}
