#include "app/Renderer.h"

#include <exception>
#include <utility>
#include <optional>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/CommandRunner.h"
#include "app/Config.h"
#include "app/FrameTime.h"
#include "app/Logger.h"
#include "app/MenuController.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "gl/UpscaleTarget.h"
#include "hud/HintLine.h"
#include "hud/Hud.h"
#include "hud/MenuOverlay.h"
#include "hud/RecorderHud.h"
#include "hud/TrialHud.h"
#include "scene/Quad.h"
#include "scene/RenderPasses.h"
#include "scene/SceneController.h"

namespace common::app {
namespace {

constexpr float kWarningAltitude = 15.0f;

}  // namespace

Renderer& Renderer::instance() {
    // Never destroyed: what it owns holds GL objects, which end with the context.
    static Renderer* renderer = new Renderer();
    return *renderer;
}

Renderer::Renderer() {
    Logger::instance().debug("Renderer created");
}

void Renderer::init(bool demo, const std::string& course, std::optional<Quality> quality,
                    std::optional<CourseCatalogue> courses) {
    const Config config = Config::readFile("config.txt");
    CourseCatalogue catalogue = courses ? std::move(*courses) : CourseCatalogue::load();
    if (!catalogue.problem().empty()) {
        Logger::instance().warning(catalogue.problem());
    }
    width = config.width;
    height = config.height;
    // The player's settings file wins over config.txt; the quality asked for here over both.
    settings_ = std::make_unique<SettingsKeeper>(config);
    fullscreen = settings_->wanted().fullScreen;
    const Quality saved = settings_->wanted().quality;
    chooseQuality(config, quality ? quality : saved != config.quality ? std::optional(saved) : std::nullopt);
    windowSamples_ = quality_.windowSamples;
    window_ = std::make_unique<GameWindow>(width, height, fullscreen, quality_.windowSamples);
    glfwSetKeyCallback(window_->handle(), [](GLFWwindow*, int key, int, int action, int) {
        Renderer::instance().onKey(key, action);
    });
    glfwSetFramebufferSizeCallback(window_->handle(), [](GLFWwindow*, int width, int height) {
        Renderer::instance().onResize(width, height);
    });

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);

    averageFps = 100.0f;
    // The scene and the shader registry are made now that a context exists.
    scene_ = &scene::SceneController::instance();
    shaders_ = &gl::ShaderController::instance();
    setSceneSwitches();
    keys_ = std::make_unique<GlfwKeyInput>(window_->handle());
    session_ = std::make_unique<GameSession>(*scene_, std::move(catalogue), *keys_, demo);
    session_->start(course, config.course);
    commands_ = std::make_unique<CommandRunner>(*this, *session_, *window_, *scene_);
    menu_ = std::make_unique<MenuController>(*this, *session_, *commands_, *window_, *keys_, *scene_);
    menu_->listenToMouse(window_->handle());

    sceneTarget_ = std::make_unique<gl::SceneRenderTarget>();
    buildSceneTarget();
    buildComposite();
    hud_ = std::make_unique<hud::Hud>(width, height);
    trialHud_ = std::make_unique<hud::TrialHud>(hud_->textOverlay());
    recorderHud_ = std::make_unique<hud::RecorderHud>(hud_->textOverlay());
    menuOverlay_ = std::make_unique<hud::MenuOverlay>(hud_->textOverlay());
    settings_->attach(*commands_);
}

void Renderer::chooseQuality(const Config& config, std::optional<Quality> quality) {
    if (config.unknownQuality && !quality) {
        Logger::instance().warning("Unknown QUALITY \"" + *config.unknownQuality +
                                   "\" in config.txt: using high");
    }
    quality_ = QualityPreset::of(quality.value_or(config.quality));
}

void Renderer::applyQuality(Quality quality) {
    quality_ = QualityPreset::of(quality);
    if (windowSamples_ > 0) {
        quality_.renderScale = 1.0f;
    }
    setSceneSwitches();
    buildSceneTarget();
    buildComposite();
}

// What the preset asks of the scene, before its first course is loaded.
void Renderer::setSceneSwitches() {
    scene_->setShadowMapSize(quality_.shadowMapSize);
    scene_->setTerrainDetailRadius(quality_.terrainDetailRadius);
    shaders_->setNearShadowLookups(quality_.nearShadowLookups);
    // The chase camera shows the window's proportions, not a square stretched over it.
    scene_->setAspectRatio(static_cast<float>(width) / static_cast<float>(height));
}

void Renderer::buildSceneTarget() {
    gl::SceneRenderTarget::Formats formats;
    if (quality_.targetFormat == QualityPreset::TargetFormat::Float16) {
        formats.color = GL_RGBA16F;
        formats.velocity = GL_RG16F;
        formats.depth = GL_DEPTH_COMPONENT24;
    }
    const auto targetWidth = static_cast<GLuint>(quality_.scaledSide(width));
    const auto targetHeight = static_cast<GLuint>(quality_.scaledSide(height));
    sceneTarget_->init(targetWidth, targetHeight, formats);
    scene_->setRingDetail(quality_.ringFullModelPixels, static_cast<int>(targetHeight));
    // A smaller scene is composited at its own size and stretched onto the window afterwards: the
    // blur's taps cost per pixel they run on. (Only the lighter presets scale, and their windows
    // have no samples, which a scaling blit into the window needs.)
    if (targetWidth == static_cast<GLuint>(width) && targetHeight == static_cast<GLuint>(height)) {
        upscaleTarget_.reset();
        return;
    }
    if (!upscaleTarget_) {
        upscaleTarget_ = std::make_unique<gl::UpscaleTarget>();
    }
    upscaleTarget_->init(targetWidth, targetHeight);
}

void Renderer::buildComposite() {
    gl::ShaderController& shaders = *shaders_;
    compositeQuad_ = std::make_unique<scene::Quad>();
    compositeQuad_->shader = shaders.getShader(gl::ShaderType::BlurShader);
    velocityQuad_ = std::make_unique<scene::Quad>();
    velocityQuad_->shader = shaders.getShader(gl::ShaderType::ShowVelocityMapShader);
    if (gl::GlslProg* blurProgram = shaders.getShader(gl::ShaderType::BlurShader)) {
        blurProgram->bind();
        blurProgram->setUniform("colorTexture", 0);
        blurProgram->setUniform("velocityTexture", 1);
        blurProgram->setUniform("depthTexture", 2);
        blurProgram->setUniform("blurTaps", quality_.blurTaps);
    }
}

void Renderer::update(double dt) {
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
    runPadCommands();
    menu_->update();
    averageFps = static_cast<float>(0.99 * averageFps + 0.01 * frameRate(dt));
    hint_.frame(glfwGetTime(), session_->phase().raceTime, quality_.quality != Quality::Low);
    if (session_->update(dt)) {
        setFrameUniforms(dt);
    }
}

void Renderer::runPadCommands() {
    for (const int button : keys_->pollPad()) {
        if (menu_->onPadButton(button) || session_->recorderButton(button)) {
            continue;
        }
        if (const Command* command = CommandTable::forPadButton(button)) {
            run(command->id);
        }
    }
}

void Renderer::setFrameUniforms(double dt) {
    gl::ShaderController& shaders = *shaders_;
    if (gl::GlslProg* blurProgram = shaders.getShader(gl::ShaderType::BlurShader)) {
        blurProgram->bind();
        blurProgram->setUniform("blurOn", blur ? 1 : 0);
        blurProgram->setUniform("velocityScale", static_cast<float>(frameRate(dt) / 180.0));
    }
    if (gl::GlslProg* shadowProgram = shaders.getShader(gl::ShaderType::ShadowShader)) {
        shadowProgram->bind();
        shadowProgram->setUniform("showFrustums", showDepthMapFrustums ? 1 : 0);
    }
}

const Renderer::Pass Renderer::kPasses[] = {
    {"shadow maps", &Renderer::drawShadowMaps},
    {"scene", &Renderer::drawScene},
    {"ghost", &Renderer::drawGhost},
    {"transparent discs", &Renderer::drawTransparent},
    {"composite", &Renderer::composite},
    {"HUD", &Renderer::drawHud},
    {"menu", &Renderer::drawMenu},
};

void Renderer::draw(const PassObserver& afterPass) {
    for (const Pass& pass : kPasses) {
        (this->*pass.run)();
        if (afterPass) {
            afterPass(pass.name);
        }
    }
}

void Renderer::drawShadowMaps() {
    scene_->renderShadowMaps();
}

void Renderer::drawScene() {
    glViewport(0, 0, static_cast<GLsizei>(sceneTarget_->width), static_cast<GLsizei>(sceneTarget_->height));
    sceneTarget_->bindForWriting();
    scene_->render();
}

void Renderer::drawGhost() {
    if (const std::optional<glm::mat4> ghost = session_->ghostPose()) {
        scene::render_passes::drawGhost(*scene_, *ghost);
    }
}

void Renderer::drawTransparent() {
    scene_->renderTransparent();
}

void Renderer::composite() {
    sceneTarget_->bindForReading();
    if (upscaleTarget_) {
        upscaleTarget_->bindForWriting();
        compositeQuad_->draw();
        upscaleTarget_->blitToWindow(width, height);
        return;
    }
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    compositeQuad_->draw();
}

void Renderer::drawHud() {
    scene::SceneController& scene = *scene_;
    scene::GamePhase& phase = session_->phase();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    if (phase.countdownActive) {
        phase.countdownDrawn(hud_->drawCountdown(phase.countdownTimer));
    }
    if (scene.finished) {
        hud_->drawFinish();
        hud_->drawPoints(scene.score);
        phase.finishDrawn();
    }
    if (!scene.running) {
        hud_->drawGameOver();
    }
    // The results say what the summary would.
    trialHud_->draw(session_->timeTrial(), phase.raceTime, scene.finished && !menu_->isOpen(), phase.paused,
                    width, height);
    recorderHud_->draw(session_->recorderLines(), width, height);
    if (debugView) {
        sceneTarget_->bindVelocityForReading();
        glViewport(scene::render_passes::kVelocityPreviewX, 0, scene::render_passes::kPreviewSize,
                   scene::render_passes::kPreviewSize);
        velocityQuad_->draw();
        scene.showShadowMaps();
    }
    hud::HintLine::draw(hud_->textOverlay(), hint_, width, height);
    if (showFps) {
        hud_->drawAverageFps(averageFps);
        hud_->drawTriangleCount(scene.getTriangleCount());
    }
    hud_->drawAltimeter(-scene.player->position.y);
    hud_->drawScoreIcon();
    hud_->drawScore(scene.score);
    if (scene.altitude <= kWarningAltitude) {
        hud_->drawWarning();
    }
    if (const std::optional<hud::GuidanceMark> mark = guidanceMark()) {
        hud_->drawGuidance(*mark);
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void Renderer::drawMenu() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    menuOverlay_->draw(menu_->menu(), width, height);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

std::optional<hud::GuidanceMark> Renderer::guidanceMark() const {
    std::vector<hud::ScreenRect> occupied = hud_->occupiedAreas(debugView);
    occupied.push_back(hud::TrialHud::clockArea(width, height));
    return session_->guidanceMark(hud::Guidance(width, height, std::move(occupied)));
}

void Renderer::onKey(int key, int action) {
    // Nothing may unwind through GLFW's callback: the next update raises it.
    try {
        if (menu_->onKey(key, action) || action != GLFW_PRESS || session_->recorderKey(key)) {
            return;
        }
        if (const Command* command = CommandTable::forKey(key)) {
            run(command->id);
        }
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void Renderer::run(CommandId command) {
    commands_->run(command);
    settings_->followSwitches();
}

void Renderer::onResize(int framebufferWidth, int framebufferHeight) {
    minimised_ = framebufferWidth <= 0 || framebufferHeight <= 0;
    if (minimised_ || (framebufferWidth == width && framebufferHeight == height)) {
        return;
    }
    width = framebufferWidth;
    height = framebufferHeight;
    buildSceneTarget();
    glViewport(0, 0, width, height);
    scene_->setAspectRatio(static_cast<float>(width) / static_cast<float>(height));
    hud_->resize(width, height);
}

}  // namespace common::app
