#include "app/Renderer.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include <malloc.h>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/Config.h"
#include "app/ContextHints.h"
#include "app/FrameTime.h"
#include "app/Logger.h"
#include "audio/GameAudio.h"
#include "camera/CameraPersp.h"
#include "game/Autopilot.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/SceneRenderTarget.h"
#include "gl/UpscaleTarget.h"
#include "gl/ShaderController.h"
#include "hud/Hud.h"
#include "hud/TrialHud.h"
#include "progress/TimeTrial.h"
#include "scene/Quad.h"
#include "scene/RenderPasses.h"
#include "scene/SceneController.h"

namespace common::app {
namespace {

constexpr float kWarningAltitude = 15.0f;

void keyCallback(GLFWwindow* /*window*/, int key, int /*scancode*/, int action, int /*mods*/) {
    Renderer::instance().onKey(key, action);
}

void framebufferSizeCallback(GLFWwindow* /*window*/, int width, int height) {
    Renderer::instance().onResize(width, height);
}

void log(const char* message) {
    Logger::instance().debug(message);
}

}  // namespace

Renderer& Renderer::instance() {
    // Never destroyed: what it owns holds GL objects, which end with the context.
    static Renderer* renderer = new Renderer();
    return *renderer;
}

Renderer::Renderer() {
    log("Renderer created");
}

void Renderer::init(bool demo, const std::string& course, std::optional<Quality> quality) {
    const Config config = Config::readFile("config.txt");
    demo_ = demo;
    catalogue_ = CourseCatalogue::load();
    if (!catalogue_.problem().empty()) {
        Logger::instance().warning(catalogue_.problem());
    }
    width = config.width;
    height = config.height;
    fullscreen = config.fullscreen;
    chooseQuality(config, quality);
    createWindow();
    glfwGetWindowPos(window_, &windowedX_, &windowedY_);
    windowedWidth_ = width;
    windowedHeight_ = height;
    glfwSetKeyCallback(window_, keyCallback);
    glfwSetFramebufferSizeCallback(window_, framebufferSizeCallback);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);

    averageFps = 100.0f;
    phase_.countdownTimer = 0.0f;
    loadFirstCourse(startCourse(course, config.course));

    sceneTarget_ = std::make_unique<gl::SceneRenderTarget>();
    buildSceneTarget();
    gl::ShaderController& shaders = gl::ShaderController::instance();
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
    hud_ = std::make_unique<hud::Hud>(width, height);
    trialHud_ = std::make_unique<hud::TrialHud>();
    audio_ = audio::GameAudio::open();
    // The autopilot's runs are not the player's: they are never recorded.
    progress::RecordStore records(progress::RecordStore::defaultPath(),
                                  [](const std::string& line) { Logger::instance().warning(line); });
    trial_ = std::make_unique<progress::TimeTrial>(std::move(records), !demo);
    setCourse(course_);
}

void Renderer::setCourse(const scene::CourseInfo& course) {
    course_ = course;
    if (trial_) {
        trial_->setCourse(course_, scene::SceneController::instance().gameRules().ringCount());
    }
}

void Renderer::chooseQuality(const Config& config, std::optional<Quality> quality) {
    if (config.unknownQuality && !quality) {
        Logger::instance().warning("Unknown QUALITY \"" + *config.unknownQuality +
                                   "\" in config.txt: using high");
    }
    quality_ = QualityPreset::of(quality.value_or(config.quality));
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

std::string Renderer::startCourse(const std::string& asked, const std::string& configured) const {
    if (catalogue_.find(asked)) {
        return asked;
    }
    const std::string fallback = catalogue_.courses().front().name;
    if (!configured.empty() && !catalogue_.find(configured)) {
        Logger::instance().warning("Unknown course \"" + configured + "\" in config.txt, playing " +
                                   fallback + " (courses: " + catalogue_.names() + ")");
        return fallback;
    }
    return configured.empty() ? fallback : configured;
}

void Renderer::loadFirstCourse(const std::string& name) {
    scene::SceneController& scene = scene::SceneController::instance();
    scene.setShadowMapSize(quality_.shadowMapSize);
    scene.setTerrainDetailRadius(quality_.terrainDetailRadius);
    gl::ShaderController::instance().setNearShadowLookups(quality_.nearShadowLookups);
    keys_ = std::make_unique<GlfwKeyInput>(window_);
    scene.setKeyInput(keys_.get());
    // The chase camera shows the window's proportions, not a square stretched over it.
    scene.setAspectRatio(static_cast<float>(width) / static_cast<float>(height));
    const scene::CourseInfo& course = *catalogue_.find(name);
    if (!loadCourse(course)) {
        std::fprintf(stderr, "Cannot start: the scene %s could not be read or has no \"Player\" node\n",
                     course.scenePath.c_str());
        std::exit(-1);
    }
}

// False when the scene cannot be read or has no craft; throws when the height map cannot be read
// (the scene is then left as it was).
bool Renderer::loadCourse(const scene::CourseInfo& course) {
    scene::SceneController& scene = scene::SceneController::instance();
    if (!scene.loadCourse(course.scenePath, course.heightMapPath)) {
        return false;
    }
    setCourse(course);
    if (demo_) {
        autopilot_ = std::make_unique<scene::Autopilot>(scene.ringTransforms);
        scene.setKeyInput(autopilot_.get());
    }
    // New objects start with the default texture filtering; the player's choice carries over.
    if (!bilinearFilter) {
        scene.setFilterNearest();
    }
    if (mipmapMode == 0) {
        scene.setMipmapOff();
    } else if (mipmapMode == 1) {
        scene.setMipmapNearest();
    }
    return true;
}

// The next course in catalogue order, from its countdown. A course that cannot be loaded is skipped
// with one line, and the one just flown is loaded again.
void Renderer::switchCourse() {
    const scene::CourseInfo previous = course_;
    const scene::CourseInfo next = catalogue_.next(previous.name);
    if (!loadCourseOrSay(next)) {
        Logger::instance().warning("Cannot load the course " + next.name + ", staying on " + previous.name);
        if (!loadCourseOrSay(previous)) {
            std::fprintf(stderr, "Cannot reload the course %s\n", previous.name.c_str());
            std::exit(-1);
        }
    }
    // Loading decodes every texture and copies the whole scene file in memory; freed, those blocks
    // stay with the allocator, scattered between the new scene's. Hand them back, so going round the
    // courses keeps the resident memory of one scene, not of the worst mix of them.
    malloc_trim(0);
    log((" Course " + course_.name + ".").c_str());
    phase_.restart();
    pendingEvents_.push_back({scene::GameEventType::Restarted, 0, 0.0});
}

// Inside the key callback nothing may escape: an unreadable height map is one line and a false.
bool Renderer::loadCourseOrSay(const scene::CourseInfo& course) {
    try {
        return loadCourse(course);
    } catch (const std::exception& error) {
        Logger::instance().warning(error.what());
        return false;
    }
}

void Renderer::reportFinish(const scene::GameEvent& event) const {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", event.time);
    log(("Finished " + course_.name + " in " + seconds + " s").c_str());
}

void Renderer::createWindow() {
    if (!glfwInit()) {
        std::fputs("Failed to initialize GLFW\n", stderr);
        std::exit(-1);
    }
    setContextHints(quality_.windowSamples);

    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    window_ = glfwCreateWindow(width, height, "Skyrings", monitor, nullptr);
    if (!window_) {
        std::fputs(
            "Failed to open GLFW window. If you have an Intel GPU, they are not 3.3 compatible. Try the 2.1 "
            "version of the tutorials.\n",
            stderr);
        glfwTerminate();
        std::exit(-1);
    }
    glfwMakeContextCurrent(window_);

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fputs("Failed to initialize GLEW\n", stderr);
        std::exit(-1);
    }
    // GLEW's probing leaves a stale GL_INVALID_ENUM on core contexts; nothing else reads it.
    glGetError();
    glfwSetInputMode(window_, GLFW_STICKY_KEYS, GLFW_TRUE);
}

void Renderer::shutdown() {
    audio_.reset();
}

void Renderer::update(double dt) {
    // The pad's A restarts, as R does; Escape stays the only way to quit.
    if (keys_->pollPad()) {
        restartGame();
    }
    averageFps = static_cast<float>(0.99 * averageFps + 0.01 * frameRate(dt));
    events_.swap(pendingEvents_);
    pendingEvents_.clear();
    const scene::GameEvents countdown = phase_.tick(dt);
    events_.insert(events_.end(), countdown.begin(), countdown.end());
    const bool advances = phase_.sceneAdvances(scene::SceneController::instance().running);
    // The countdown's end is only known after this frame's draw: the clock runs from the next one.
    const bool flying = advances && !phase_.countdownActive;
    if (advances) {
        advanceScene(dt);
    }
    followTimeTrial(flying);
    playSounds(dt);
}

void Renderer::advanceScene(double dt) {
    scene::SceneController& scene = scene::SceneController::instance();
    if (autopilot_) {
        autopilot_->steer(*scene.player, dt);
    }
    scene.update(dt);
    scene.checkCollisions();
    // The step just flown counts on the race clock before its captures are stamped.
    phase_.sceneAdvanced(dt);
    for (scene::GameEvent event : scene.lastEvents()) {
        event.time = phase_.raceTime;
        events_.push_back(event);
        if (event.type == scene::GameEventType::Finished) {
            reportFinish(event);
        }
    }
    gl::ShaderController& shaders = gl::ShaderController::instance();
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

void Renderer::followTimeTrial(bool flying) {
    const scene::SceneController& scene = scene::SceneController::instance();
    trial_->update(events_, {phase_.raceTime, flying, scene.player->getModelMatrix(), scene.score});
}

// Every frame, the frozen ones too: the countdown beeps while the scene holds still.
void Renderer::playSounds(double dt) {
    const scene::Player& craft = *scene::SceneController::instance().player;
    const float climbRate = craft.speed * craft.direction.y - scene::Player::kSinkRate;
    audio_->frame(events_, craft.speed, climbRate, dt);
}

void Renderer::draw() {
    scene::SceneController& scene = scene::SceneController::instance();
    scene.renderShadowMaps();
    glViewport(0, 0, static_cast<GLsizei>(sceneTarget_->width), static_cast<GLsizei>(sceneTarget_->height));
    sceneTarget_->bindForWriting();
    scene.render();
    if (const std::optional<glm::mat4> ghost = trial_->ghostPose(phase_.raceTime)) {
        scene::render_passes::drawGhost(scene, *ghost);
    }
    scene.renderTransparent();

    composite();

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    drawHud();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
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
    scene::SceneController& scene = scene::SceneController::instance();
    if (phase_.countdownActive) {
        phase_.countdownDrawn(hud_->drawCountdown(phase_.countdownTimer));
    }
    if (scene.finished) {
        hud_->drawFinish();
        hud_->drawPoints(scene.score);
        phase_.finishDrawn();
    }
    if (!scene.running) {
        hud_->drawGameOver();
    }
    drawTimeTrial();
    if (debugView) {
        sceneTarget_->bindVelocityForReading();
        glViewport(scene::render_passes::kVelocityPreviewX, 0, scene::render_passes::kPreviewSize,
                   scene::render_passes::kPreviewSize);
        velocityQuad_->draw();
        scene.showShadowMaps();
    }
    if (showFps) {
        const std::int32_t triangles = scene.getTriangleCount();
        hud_->drawAverageFps(averageFps);
        hud_->drawTriangleCount(triangles);
    }
    hud_->drawAltimeter(-scene.player->position.y);
    hud_->drawScoreIcon();
    hud_->drawScore();
    if (scene.altitude <= kWarningAltitude) {
        hud_->drawWarning();
    }
    if (const std::optional<hud::GuidanceMark> mark = guidanceMark()) {
        hud_->drawGuidance(*mark);
    }
}

std::optional<hud::GuidanceMark> Renderer::guidanceMark() const {
    scene::SceneController& scene = scene::SceneController::instance();
    const std::optional<std::size_t> next = scene.gameRules().nextRing();
    // Only while the race is on: the countdown and the end screens own the middle of the window.
    if (!guidance || phase_.countdownActive || !scene.running || scene.finished || !next ||
        *next >= scene.ringTransforms.size()) {
        return std::nullopt;
    }
    std::vector<hud::ScreenRect> occupied = hud_->occupiedAreas(debugView);
    occupied.push_back(hud::TrialHud::clockArea(width, height));
    const hud::Guidance placement(width, height, std::move(occupied));
    const glm::vec3 ring(scene.ringTransforms[*next][3]);
    return placement.locate(scene.camera->viewMatrix, scene.camera->projectionMatrix, ring,
                            scene.player->position);
}

void Renderer::drawTimeTrial() {
    trialHud_->drawClock(phase_.raceTime, width, height);
    if (const std::optional<double> split = trial_->splitShown(phase_.raceTime)) {
        trialHud_->drawSplit(*split, width, height);
    }
    if (scene::SceneController::instance().finished && trial_->summary()) {
        trialHud_->drawSummary(*trial_->summary(), width, height);
    }
    if (phase_.paused) {
        trialHud_->drawPaused(width, height);
    }
}

void Renderer::onKey(int key, int action) {
    if (action != GLFW_PRESS) {
        return;
    }
    scene::SceneController& scene = scene::SceneController::instance();
    switch (key) {
        case GLFW_KEY_F2:
            showFps = !showFps;
            log(showFps ? " Show FPS" : " Remove FPS");
            break;
        case GLFW_KEY_F3:
            toggleWireframe();
            break;
        case GLFW_KEY_F4:
            bilinearFilter = !bilinearFilter;
            log(bilinearFilter ? " Texture filter bilinear" : " Texture filter nearest");
            bilinearFilter ? scene.setFilterBilinear() : scene.setFilterNearest();
            break;
        case GLFW_KEY_F5:
            cycleMipmapMode();
            break;
        case GLFW_KEY_F6:
            debugView = !debugView;
            log(debugView ? " Debug HUD on" : " Debug HUD off");
            break;
        case GLFW_KEY_F7:
            blur = !blur;
            log(blur ? " Blur on" : " Blur off");
            break;
        case GLFW_KEY_F8:
            scene.frustumCulling = !scene.frustumCulling;
            log(scene.frustumCulling ? " Frustum Culling ON" : " Frustum Culling OFF");
            break;
        case GLFW_KEY_F9:
            transparency = !transparency;
            log(transparency ? " Transparency ON" : " Transparency OFF");
            scene.setTransparency(transparency);
            break;
        case GLFW_KEY_F10:
            showDepthMapFrustums = !showDepthMapFrustums;
            log(showDepthMapFrustums ? " Show DepthMapFrustums ON" : " Show DepthMapFrusutms OFF");
            break;
        case GLFW_KEY_R:
            restartGame();
            break;
        case GLFW_KEY_C:
            switchCourse();
            break;
        case GLFW_KEY_F11:
            toggleFullScreen();
            break;
        case GLFW_KEY_M:
            log(audio_->toggleMute() ? " Sound OFF" : " Sound ON");
            break;
        case GLFW_KEY_N:
            guidance = !guidance;
            log(guidance ? " Guidance ON" : " Guidance OFF");
            break;
        case GLFW_KEY_P:
            audio_->setPaused(phase_.togglePause());
            log(phase_.paused ? " Pause ON" : " Pause OFF");
            break;
        case GLFW_KEY_G:
            log(trial_->toggleGhost() ? " Ghost ON" : " Ghost OFF");
            break;
        default:
            break;
    }
}

void Renderer::toggleWireframe() {
    scene::SceneController& scene = scene::SceneController::instance();
    wireframe = !wireframe;
    if (wireframe) {
        log(" WireframeMode ON");
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        scene.wireframe = true;
        std::printf("%i \n", scene.getTriangleCount());
    } else {
        log(" WireframeMode OFF");
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        scene.wireframe = false;
    }
}

// 2 (linear) -> 0 (off) -> 1 (nearest) -> 2; the action comes before the message.
void Renderer::cycleMipmapMode() {
    scene::SceneController& scene = scene::SceneController::instance();
    mipmapMode = (mipmapMode + 1) % 3;
    switch (mipmapMode) {
        case 0:
            scene.setMipmapOff();
            log(" MipMap filter off");
            break;
        case 1:
            scene.setMipmapNearest();
            log(" MipMap filter nearest");
            break;
        default:
            scene.setMipmapLinear();
            log(" MipMap filter linear");
            break;
    }
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
    scene::SceneController::instance().setAspectRatio(static_cast<float>(width) / static_cast<float>(height));
    hud_->resize(width, height);
}

// The framebuffer-size callback follows with the new size.
void Renderer::toggleFullScreen() {
    GLFWmonitor* monitor = glfwGetWindowMonitor(window_);
    if (monitor) {
        glfwSetWindowMonitor(window_, nullptr, windowedX_, windowedY_, windowedWidth_, windowedHeight_,
                             GLFW_DONT_CARE);
        log(" Full screen OFF");
        return;
    }
    monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode) {
        return;
    }
    glfwGetWindowPos(window_, &windowedX_, &windowedY_);
    glfwGetWindowSize(window_, &windowedWidth_, &windowedHeight_);
    glfwSetWindowMonitor(window_, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    log(" Full screen ON");
}

void Renderer::restartGame() {
    scene::SceneController::instance().restart();
    log(" Restart Game.");
    phase_.restart();
    audio_->setPaused(false);
    pendingEvents_.push_back({scene::GameEventType::Restarted, 0, 0.0});
}

}  // namespace common::app
