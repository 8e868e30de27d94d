// Each quality preset in the real game: what it sets, read back from GL, and the picture it gives
// beside the full one. The renderer is one per process, so each preset starts in a child process of
// its own (a death test that exits 0 when every figure is right).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <GL/glew.h>

#include "app/Renderer.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/RenderTarget.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "gl/UpscaleTarget.h"
#include "scene/SceneController.h"
#include "terrain/Terrain.h"
#include "tests/support/GlQueries.h"
#include "tests/support/InProcessGame.h"
#include "tests/support/Picture.h"
#include "tests/support/TestFiles.h"

using testsupport::Picture;
using testsupport::texParameter;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Preset {
    const char* name;
    const char* config;
    int targetWidth, targetHeight;
    GLint colorFormat, velocityFormat, depthFormat;
    int shadowMapSize;
    int windowSamples;
    int blurTaps;
    // Of the 127 x 127 x 2 in the shipped terrain, with the craft at the start.
    int terrainTrianglesAtMost;
    int nearShadowLookups;
};

const Preset kPresets[] = {
    {"high", "QUALITY\nhigh\n", 640, 480, GL_RGB32F, GL_RGB32F, GL_DEPTH_COMPONENT32F, 2048, 4, 5, 32258, 4},
    {"medium", "QUALITY\nmedium\n", 480, 360, GL_RGBA16F, GL_RG16F, GL_DEPTH_COMPONENT24, 1024, 0, 3, 20000,
     1},
    {"low", "QUALITY\nlow\n", 320, 240, GL_RGBA16F, GL_RG16F, GL_DEPTH_COMPONENT24, 512, 0, 3, 15000, 1},
    // A value that names no preset gives the full picture (no key at all too: QualityPresetTest).
    {"unknown", "QUALITY\nultra\n", 640, 480, GL_RGB32F, GL_RGB32F, GL_DEPTH_COMPONENT32F, 2048, 4, 5, 32258,
     4},
};

// The nearest cascade's lookups as the shadow program was built: the count it was given, or 4.
GLint nearShadowLookups() {
    const GLuint shader = common::gl::ShaderController::instance()
                              .getShader(common::gl::ShaderType::ShadowShader)
                              ->fragmentShader;
    GLint length = 0;
    glGetShaderiv(shader, GL_SHADER_SOURCE_LENGTH, &length);
    std::string source(std::size_t(length), '\0');
    glGetShaderSource(shader, length, nullptr, source.data());
    const std::string define = "#define NEAR_SHADOW_LOOKUPS ";
    const std::size_t at = source.find(define);
    return at == std::string::npos ? 4 : std::atoi(source.c_str() + at + define.size());
}

GLint blurTapsUniform() {
    const GLuint program =
        common::gl::ShaderController::instance().getShader(common::gl::ShaderType::BlurShader)->handle;
    GLint taps = 0;
    glGetUniformiv(program, glGetUniformLocation(program, "blurTaps"), &taps);
    return taps;
}

// In the child: starts the game, draws the countdown frame, saves the window to `shot` and exits 0
// when every figure is the preset's (otherwise 1, naming each wrong one on standard error).
[[noreturn]] void checkPreset(const Preset& preset, const std::filesystem::path& shot) {
    common::app::Renderer& renderer = testsupport::startGameInProcess(kWidth, kHeight, preset.config);
    testsupport::runFrame(renderer);
    renderer.update(1.0 / 60.0);
    renderer.draw();

    bool ok = true;
    auto check = [&ok](const char* what, GLint got, GLint expected) {
        if (got != expected) {
            std::fprintf(stderr, "%s: %d, not %d\n", what, got, expected);
            ok = false;
        }
    };
    const common::gl::SceneRenderTarget& target = renderer.sceneTarget();
    check("target width", texParameter(target.colorTexture, GL_TEXTURE_WIDTH, 0), preset.targetWidth);
    check("target height", texParameter(target.depthTexture, GL_TEXTURE_HEIGHT, 0), preset.targetHeight);
    check("colour format", texParameter(target.colorTexture, GL_TEXTURE_INTERNAL_FORMAT, 0),
          preset.colorFormat);
    check("velocity format", texParameter(target.velocityTexture, GL_TEXTURE_INTERNAL_FORMAT, 0),
          preset.velocityFormat);
    check("depth format", texParameter(target.depthTexture, GL_TEXTURE_INTERNAL_FORMAT, 0),
          preset.depthFormat);
    // A smaller scene is composited at its own size, then stretched onto the window.
    const common::gl::UpscaleTarget* upscale = renderer.upscaleTarget();
    check("composite target width",
          upscale ? texParameter(upscale->colorTexture, GL_TEXTURE_WIDTH, 0) : kWidth, preset.targetWidth);
    const common::scene::SceneController& scene = common::scene::SceneController::instance();
    if (int(scene.terrain->geometry.triangleCount()) > preset.terrainTrianglesAtMost) {
        check("terrain triangles", int(scene.terrain->geometry.triangleCount()),
              preset.terrainTrianglesAtMost);
    }
    for (const auto& map : scene.shadowMaps) {
        check("shadow map size", texParameter(map->texture, GL_TEXTURE_WIDTH, 0), preset.shadowMapSize);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    check("window samples", testsupport::integer(GL_SAMPLES), preset.windowSamples);
    check("blur taps", blurTapsUniform(), preset.blurTaps);
    check("near shadow lookups", nearShadowLookups(), preset.nearShadowLookups);

    std::vector<unsigned char> pixels(std::size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    testsupport::writePng(shot, kWidth, kHeight, [&](int x, int y) {
        const unsigned char* p = &pixels[(std::size_t(kHeight - 1 - y) * kWidth + x) * 4];
        return Picture::Rgba{p[0], p[1], p[2], 255};
    });
    std::fflush(stderr);
    std::_Exit(ok ? 0 : 1);
}

std::vector<unsigned char> windowPixels(int width, int height) {
    std::vector<unsigned char> pixels(std::size_t(width) * height * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int ringsShowingTheLightModel(const common::scene::SceneController& scene) {
    int light = 0;
    for (const auto* object : scene.objects) {
        if (const auto* ring = dynamic_cast<const common::scene::CircleCheckpoint*>(object)) {
            light += ring->showsLightModel() ? 1 : 0;
        }
    }
    return light;
}

// Share of the pixels whose colour differs by more than a faint step in some channel.
double shareDiffering(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    int differing = 0;
    for (std::size_t i = 0; i < a.size(); i += 4) {
        int step = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            step = std::max(step, std::abs(int(a[i + c]) - int(b[i + c])));
        }
        differing += step > 24 ? 1 : 0;
    }
    return 4.0 * differing / double(a.size());
}

// In the child: the full picture at 800 x 600 drawn three times from the same moment, close to a
// ring: with the preset's ring detail, with every ring light and with every ring in full. Exits 0 when
// the far rings showed the light model, the near one the full, and against the full picture at most
// 1 % of the pixels differ by more than a faint step; with the near ring light too, at most 0.3 %
// (a whole ring that close covers about that much).
[[noreturn]] void checkLightRingsLookTheSame() {
    constexpr int kShotWidth = 800;
    constexpr int kShotHeight = 600;
    common::app::Renderer& renderer =
        testsupport::startGameInProcess(kShotWidth, kShotHeight, "QUALITY\nhigh\n");
    common::scene::SceneController& scene = common::scene::SceneController::instance();
    // Past the countdown (its digits must be drawn for it to end), flying straight on until the first
    // ring is close: near rings in full, the far ones light.
    const glm::vec3 firstRing(scene.ringTransforms.front()[3]);
    testsupport::runFrame(renderer);
    for (int step = 0; step < 200 && (renderer.phase().countdownActive ||
                                      glm::distance(scene.player->position, firstRing) > 20.0f);
         ++step) {
        if (renderer.phase().countdownActive) {
            renderer.draw();
        }
        renderer.update(0.1);
    }
    renderer.draw();
    const int light = ringsShowingTheLightModel(scene);
    const std::vector<unsigned char> detailed = windowPixels(kShotWidth, kShotHeight);
    scene.setRingDetail(std::numeric_limits<float>::infinity(), kShotHeight);
    renderer.draw();
    const std::vector<unsigned char> allLight = windowPixels(kShotWidth, kShotHeight);
    scene.setRingDetail(0.0f, kShotHeight);
    renderer.draw();
    const std::vector<unsigned char> full = windowPixels(kShotWidth, kShotHeight);
    const double shareDetailed = shareDiffering(full, detailed);
    const double shareAllLight = shareDiffering(full, allLight);
    std::fprintf(stderr, "%d of %zu rings light; pixels that differ: %.3f %%, every ring light %.3f %%\n",
                 light, scene.ringTransforms.size(), 100.0 * shareDetailed, 100.0 * shareAllLight);
    std::fflush(stderr);
    const bool nearRingFull = light < int(scene.ringTransforms.size());
    std::_Exit(light > 0 && nearRingFull && shareDetailed <= 0.01 && shareAllLight <= 0.003 ? 0 : 1);
}

}  // namespace

TEST(QualityPresets, TheFullPictureShowsTheLightRingOnlyWhereItLooksTheSame) {
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(checkLightRingsLookTheSame(), ::testing::ExitedWithCode(0), "");
}

TEST(QualityPresets, EachPresetSetsWhatItClaimsAndKeepsThePicture) {
    // A plain fork: the children share the folder for their pictures, and this process has no GL yet.
    GTEST_FLAG_SET(death_test_style, "fast");
    testsupport::TempDir dir;
    for (const Preset& preset : kPresets) {
        const auto shot = dir.path() / (std::string(preset.name) + ".png");
        // Only a value that names no preset earns the warning.
        const std::string warning = std::string(preset.name) == "unknown"
                                        ? "Unknown QUALITY \"ultra\" in config.txt: using high"
                                        : "";
        EXPECT_EXIT(checkPreset(preset, shot), ::testing::ExitedWithCode(0), warning) << preset.name;
    }

    // The same scene, countdown and HUD at every preset: the lighter ones only soften the scene, and
    // the instruments (the altimeter at the bottom right, the score at the bottom left) stay as sharp.
    const Picture high(dir.path() / "high.png");
    ASSERT_TRUE(high.valid());
    for (const char* name : {"unknown", "medium", "low"}) {
        const Picture other(dir.path() / (std::string(name) + ".png"));
        ASSERT_TRUE(other.valid()) << name;
        EXPECT_LT(high.meanDifference(other, 0, 0, kWidth, kHeight), 3.0) << name;
        EXPECT_LT(high.meanDifference(other, 400, 240, 240, 240), 2.0) << name << ": altimeter";
        EXPECT_LT(high.meanDifference(other, 15, 380, 125, 50), 2.0) << name << ": score";
    }
}
