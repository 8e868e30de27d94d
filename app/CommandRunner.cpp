#include "app/CommandRunner.h"

#include <GL/glew.h>

#include "app/GameSession.h"
#include "app/GameWindow.h"
#include "app/Logger.h"
#include "app/Renderer.h"
#include "audio/GameAudio.h"
#include "hud/FrameRateHint.h"
#include "progress/TimeTrial.h"
#include "scene/SceneController.h"

namespace common::app {
namespace {

void log(const char* message) {
    Logger::instance().debug(message);
}

// Flips `flag` and reports the new state with one of two lines.
void toggle(bool& flag, const char* onLine, const char* offLine) {
    flag = !flag;
    log(flag ? onLine : offLine);
}

}  // namespace

void CommandRunner::run(CommandId command) {
    switch (command) {
        case CommandId::Restart:
        case CommandId::NextCourse:
        case CommandId::Mute:
        case CommandId::Pause:
        case CommandId::Ghost:
        case CommandId::Guidance:
            runGameCommand(command);
            break;
        default:
            runDrawingCommand(command);
            break;
    }
}

void CommandRunner::applySettings(const progress::Settings& wanted) {
    if (wanted.sound == session_.audio().muted()) {
        run(CommandId::Mute);
    }
    if (wanted.guidance != session_.guidance) {
        run(CommandId::Guidance);
    }
    if ((wanted.ghost != progress::GhostChoice::Off) != session_.timeTrial().ghostOn()) {
        run(CommandId::Ghost);
    }
    if (wanted.fullScreen != window_.fullScreen()) {
        run(CommandId::FullScreen);
    }
    if (wanted.showFrameRate != renderer_.showFps) {
        run(CommandId::FrameRate);
    }
    applyUnkeyedSettings(wanted);
}

void CommandRunner::applyUnkeyedSettings(const progress::Settings& wanted) {
    if (wanted.quality != renderer_.quality().quality) {
        renderer_.applyQuality(wanted.quality);
        log((std::string(" Quality ") + QualityPreset::name(wanted.quality)).c_str());
    }
    if (wanted.volume != session_.audio().volume()) {
        session_.audio().setVolume(wanted.volume);
        log((" Volume " + std::to_string(wanted.volume) + " %").c_str());
    }
    progress::TimeTrial& trial = session_.timeTrial();
    if (wanted.ghost != progress::GhostChoice::Off && wanted.ghost != trial.ghostChoice()) {
        trial.chooseGhost(wanted.ghost);
        log(wanted.ghost == progress::GhostChoice::Par ? " Ghost par" : " Ghost my best");
    }
    if (wanted.invertPitch != session_.invertPitch) {
        toggle(session_.invertPitch, " Invert pitch ON", " Invert pitch OFF");
    }
    renderer_.frameRateHint().setEnabled(wanted.frameRateHint);
}

progress::Settings CommandRunner::currentSettings() const {
    progress::Settings settings;
    settings.quality = renderer_.quality().quality;
    settings.sound = !session_.audio().muted();
    settings.volume = session_.audio().volume();
    settings.guidance = session_.guidance;
    settings.ghost = session_.timeTrial().ghostChoice();
    settings.invertPitch = session_.invertPitch;
    settings.fullScreen = window_.fullScreen();
    settings.showFrameRate = renderer_.showFps;
    settings.frameRateHint = renderer_.frameRateHint().enabled();
    return settings;
}

void CommandRunner::runGameCommand(CommandId command) {
    switch (command) {
        case CommandId::Restart:
            session_.restart();
            break;
        case CommandId::NextCourse:
            switchCourse();
            break;
        case CommandId::Mute:
            log(session_.toggleMute() ? " Sound OFF" : " Sound ON");
            break;
        case CommandId::Pause:
            log(session_.togglePause() ? " Pause ON" : " Pause OFF");
            break;
        case CommandId::Ghost:
            log(session_.timeTrial().toggleGhost() ? " Ghost ON" : " Ghost OFF");
            break;
        case CommandId::Guidance:
            toggle(session_.guidance, " Guidance ON", " Guidance OFF");
            break;
        default:
            break;
    }
}

void CommandRunner::runDrawingCommand(CommandId command) {
    switch (command) {
        case CommandId::FullScreen:
            toggleFullScreen();
            break;
        case CommandId::FrameRate:
            toggle(renderer_.showFps, " Show FPS", " Remove FPS");
            break;
        case CommandId::Wireframe:
            toggleWireframe();
            break;
        case CommandId::TextureFilter:
            toggleTextureFilter();
            break;
        case CommandId::Mipmaps:
            cycleMipmapMode();
            break;
        case CommandId::DebugView:
            toggle(renderer_.debugView, " Debug HUD on", " Debug HUD off");
            break;
        case CommandId::Blur:
            toggle(renderer_.blur, " Blur on", " Blur off");
            break;
        case CommandId::Culling:
            toggle(scene_.frustumCulling, " Frustum Culling ON", " Frustum Culling OFF");
            break;
        case CommandId::Transparency:
            toggle(renderer_.transparency, " Transparency ON", " Transparency OFF");
            scene_.setTransparency(renderer_.transparency);
            break;
        case CommandId::CascadeTint:
            toggle(renderer_.showDepthMapFrustums, " Show DepthMapFrustums ON", " Show DepthMapFrusutms OFF");
            break;
        default:
            // Steering is polled every frame and Escape is the frame loop's.
            break;
    }
}

void CommandRunner::switchCourse() {
    session_.switchCourse();
    applyTextureSwitches();
}

void CommandRunner::loadCourse(const std::string& name) {
    session_.switchCourse(name);
    applyTextureSwitches();
}

void CommandRunner::applyTextureSwitches() {
    if (!renderer_.bilinearFilter) {
        scene_.setFilterNearest();
    }
    if (renderer_.mipmapMode == 0) {
        scene_.setMipmapOff();
    } else if (renderer_.mipmapMode == 1) {
        scene_.setMipmapNearest();
    }
}

void CommandRunner::toggleFullScreen() {
    const bool was = window_.fullScreen();
    window_.toggleFullScreen();
    if (window_.fullScreen() != was) {
        log(was ? " Full screen OFF" : " Full screen ON");
    }
}

void CommandRunner::toggleWireframe() {
    toggle(renderer_.wireframe, " WireframeMode ON", " WireframeMode OFF");
    scene_.wireframe = renderer_.wireframe;
    glPolygonMode(GL_FRONT_AND_BACK, renderer_.wireframe ? GL_LINE : GL_FILL);
    if (renderer_.wireframe) {
        Logger::instance().line(std::to_string(scene_.getTriangleCount()) + " ");
    }
}

void CommandRunner::toggleTextureFilter() {
    toggle(renderer_.bilinearFilter, " Texture filter bilinear", " Texture filter nearest");
    renderer_.bilinearFilter ? scene_.setFilterBilinear() : scene_.setFilterNearest();
}

// 2 (linear) -> 0 (off) -> 1 (nearest) -> 2; the action comes before the message.
void CommandRunner::cycleMipmapMode() {
    renderer_.mipmapMode = (renderer_.mipmapMode + 1) % 3;
    switch (renderer_.mipmapMode) {
        case 0:
            scene_.setMipmapOff();
            log(" MipMap filter off");
            break;
        case 1:
            scene_.setMipmapNearest();
            log(" MipMap filter nearest");
            break;
        default:
            scene_.setMipmapLinear();
            log(" MipMap filter linear");
            break;
    }
}

}  // namespace common::app
