#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "app/CommandTable.h"
#include "app/CourseCatalogue.h"
#include "app/GameSession.h"
#include "app/GameWindow.h"
#include "app/GlfwKeyInput.h"
#include "app/QualityPreset.h"
#include "app/SettingsKeeper.h"
#include "game/CourseInfo.h"
#include "game/GameEvent.h"
#include "game/GamePhase.h"
#include "hud/FrameRateHint.h"
#include "hud/Guidance.h"

struct GLFWwindow;

namespace common::audio {
class GameAudio;
}
namespace common::gl {
class SceneRenderTarget;
class ShaderController;
class UpscaleTarget;
}  // namespace common::gl
namespace common::hud {
class Hud;
class MenuOverlay;
class RecorderHud;
class TrialHud;
}  // namespace common::hud
namespace common::progress {
class TimeTrial;
}
namespace common::scene {
class Quad;
class SceneController;
}  // namespace common::scene

namespace common::app {

class CommandRunner;
class MenuController;
struct Config;

// The application singleton that orders and draws the frame: the window, the colour/velocity target
// with its motion-blur composite, the head-up display and every drawing switch the keyboard commands
// flip. The game around the flight (course, countdown, time trial, sound) is its GameSession's.
// Created on first use by the entry point and kept until the process ends.
class Renderer {
  public:
    static Renderer& instance();

    // Reads config.txt, opens the window, sets the fixed GL state, loads the scene and builds the
    // render target, the two quads and the HUD; throws std::runtime_error with the one line to report
    // when the window, GLEW or the first course cannot be had. In demo mode the autopilot
    // flies the craft instead of the arrow keys. The course is `course` when the catalogue knows it,
    // else the one config.txt names, else the first of the catalogue. A quality given here wins over
    // the file's. Without a catalogue, the shipped courses'.
    void init(bool demo = false, const std::string& course = {},
              std::optional<Quality> quality = std::nullopt,
              std::optional<CourseCatalogue> catalogue = std::nullopt);
    void update(double dt);
    // Called after each pass of the frame with the pass's name, once its commands are issued.
    using PassObserver = std::function<void(const char* pass)>;
    // The frame, pass by pass: the shadow maps; the scene, the ghost and the transparent discs into
    // the scene target; the composite onto the window; the HUD over it. `afterPass`, when given, is
    // told of each pass as soon as it is issued (the benchmark finishes and times each there).
    void draw(const PassObserver& afterPass = {});
    // Keyboard commands: presses only; releases and repeats are ignored.
    void onKey(int key, int action);
    // What a key or pad button asks for (CommandTable).
    void run(CommandId command);
    // The window's framebuffer has a new size: the scene target, the viewport, the camera's aspect and
    // the HUD follow it. A size of 0 (a minimised window) is remembered and nothing is rebuilt.
    void onResize(int framebufferWidth, int framebufferHeight);
    // Minimised: the frame loop waits for the window instead of drawing into nothing.
    bool minimised() const { return minimised_; }
    const gl::SceneRenderTarget& sceneTarget() const { return *sceneTarget_; }
    // The composite's own target while the scene target is smaller than the window; otherwise null.
    const gl::UpscaleTarget* upscaleTarget() const { return upscaleTarget_.get(); }
    // Motion blur and gamma from the scene target onto the window (through the upscale target when
    // there is one); leaves the window bound for drawing.
    void composite();
    // The preset the picture is drawn with (config.txt's "QUALITY", "high" by default).
    const QualityPreset& quality() const { return quality_; }
    // Another preset at once: targets, shadow maps, blur and terrain detail. The window's samples stay
    // as the window was made (the saved quality sets them at the next start), and so does the full
    // target size while the window has samples: a scaled copy into it is not possible.
    void applyQuality(Quality quality);
    hud::FrameRateHint& frameRateHint() { return hint_; }
    // The player's settings: the menu changes them through it.
    SettingsKeeper& settings() { return *settings_; }
    // Closes the sound device; the GL objects end with the context.
    void shutdown() { session_.reset(); }

    GLFWwindow* window() const { return window_->handle(); }
    const scene::GamePhase& phase() const { return session_->phase(); }
    // What the game reported during the last update: countdown numbers, captures, the finish or the
    // crash, and a restart asked for since the update before. Sound, records and HUD read these.
    const scene::GameEvents& events() const { return session_->events(); }
    // Where the guidance shows the next ring this frame; none while it is off or no race is on.
    std::optional<hud::GuidanceMark> guidanceMark() const;
    // The course being flown (its name and par time key the records) and the courses there are.
    const scene::CourseInfo& course() const { return session_->course(); }
    const CourseCatalogue& courses() const { return session_->courses(); }
    // The game's sound (silent without a device).
    audio::GameAudio& audio() { return session_->audio(); }
    // The course being flown, for its records and medal.
    void setCourse(const scene::CourseInfo& course) { session_->setCourse(course); }
    const progress::TimeTrial& timeTrial() const { return session_->timeTrial(); }
    GameSession& session() { return *session_; }
    MenuController& menu() { return *menu_; }

    std::int32_t height = 0;
    std::int32_t width = 0;
    bool fullscreen = false;
    bool wireframe = false;
    bool bilinearFilter = true;
    bool transparency = true;
    bool debugView = false;
    bool blur = true;
    bool showDepthMapFrustums = false;
    bool showFps = false;
    std::uint32_t mipmapMode = 2;
    float averageFps = 0.0f;

  private:
    // One step of the frame; the list of them in order is the frame.
    struct Pass {
        const char* name;
        void (Renderer::*run)();
    };
    static const Pass kPasses[];

    Renderer();
    void chooseQuality(const Config& config, std::optional<Quality> quality);
    // The scene target at the preset's share of the window.
    void buildSceneTarget();
    void buildComposite();
    void setSceneSwitches();
    void runPadCommands();
    void setFrameUniforms(double dt);
    void drawShadowMaps();
    void drawScene();
    // After the opaque scene, before the discs: the ghost shows through them as the craft does.
    void drawGhost();
    void drawTransparent();
    // The HUD's texts, previews and instruments, without depth test or culling.
    void drawHud();
    // The menu over everything, while it shows.
    void drawMenu();

    std::unique_ptr<GameWindow> window_;
    // The process's scene and shader registry (not owned), from init on.
    scene::SceneController* scene_ = nullptr;
    gl::ShaderController* shaders_ = nullptr;
    std::unique_ptr<GlfwKeyInput> keys_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<CommandRunner> commands_;
    std::unique_ptr<MenuController> menu_;
    std::unique_ptr<gl::SceneRenderTarget> sceneTarget_;
    std::unique_ptr<gl::UpscaleTarget> upscaleTarget_;
    std::unique_ptr<scene::Quad> compositeQuad_;
    std::unique_ptr<scene::Quad> velocityQuad_;
    std::unique_ptr<hud::Hud> hud_;
    std::unique_ptr<hud::TrialHud> trialHud_;
    std::unique_ptr<hud::RecorderHud> recorderHud_;
    std::unique_ptr<hud::MenuOverlay> menuOverlay_;
    QualityPreset quality_;
    int windowSamples_ = 0;
    std::unique_ptr<SettingsKeeper> settings_;
    hud::FrameRateHint hint_;
    bool minimised_ = false;
    // A failure inside the key callback, where nothing may unwind through GLFW: raised by the next
    // update, which the entry point's handler reports.
    std::exception_ptr failure_;
};

}  // namespace common::app
