#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/CourseCatalogue.h"
#include "app/GlfwKeyInput.h"
#include "app/QualityPreset.h"
#include "game/CourseInfo.h"
#include "game/GameEvent.h"
#include "game/GamePhase.h"
#include "hud/Guidance.h"

struct GLFWwindow;

namespace common::audio {
class GameAudio;
}
namespace common::gl {
class SceneRenderTarget;
class UpscaleTarget;
}  // namespace common::gl
namespace common::hud {
class Hud;
class TrialHud;
}  // namespace common::hud
namespace common::progress {
class TimeTrial;
}
namespace common::scene {
class Autopilot;
class Quad;
}  // namespace common::scene

namespace common::app {

struct Config;

// The application singleton that owns the frame: the window, the colour/velocity target with its
// motion-blur composite, the head-up display, the countdown gate, and every run-time switch the
// keyboard commands flip. Created on first use by the entry point and kept until the process ends.
class Renderer {
  public:
    static Renderer& instance();

    // Reads config.txt, opens the window (or ends the process), sets the fixed GL state, loads the
    // scene and builds the render target, the two quads and the HUD. In demo mode the autopilot
    // flies the craft instead of the arrow keys. The course is `course` when the catalogue knows it,
    // else the one config.txt names, else the first of the catalogue. A quality given here wins over
    // the file's.
    void init(bool demo = false, const std::string& course = {},
              std::optional<Quality> quality = std::nullopt);
    void update(double dt);
    void draw();
    // Keyboard commands: presses only; releases and repeats are ignored.
    void onKey(int key, int action);
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
    // Closes the sound device; the GL objects end with the context.
    void shutdown();

    GLFWwindow* window() const { return window_; }
    const scene::GamePhase& phase() const { return phase_; }
    // What the game reported during the last update: countdown numbers, captures, the finish or the
    // crash, and a restart asked for since the update before. Sound, records and HUD read these.
    const scene::GameEvents& events() const { return events_; }
    // Where the guidance shows the next ring this frame; none while it is off or no race is on.
    std::optional<hud::GuidanceMark> guidanceMark() const;
    // The course being flown (its name and par time key the records) and the courses there are.
    const scene::CourseInfo& course() const { return course_; }
    const CourseCatalogue& courses() const { return catalogue_; }
    // The game's sound (silent without a device).
    audio::GameAudio& audio() { return *audio_; }
    // The course being flown, for its records and medal; may be called before or after init.
    void setCourse(const scene::CourseInfo& course);
    const progress::TimeTrial& timeTrial() const { return *trial_; }

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
    // The mark over the next ring, or the arrow towards it.
    bool guidance = true;
    std::uint32_t mipmapMode = 2;
    float averageFps = 0.0f;

  private:
    Renderer();
    void createWindow();
    void chooseQuality(const Config& config, std::optional<Quality> quality);
    // The scene target at the preset's share of the window.
    void buildSceneTarget();
    std::string startCourse(const std::string& asked, const std::string& configured) const;
    void loadFirstCourse(const std::string& name);
    bool loadCourse(const scene::CourseInfo& course);
    bool loadCourseOrSay(const scene::CourseInfo& course);
    void switchCourse();
    void reportFinish(const scene::GameEvent& event) const;
    void advanceScene(double dt);
    void playSounds(double dt);
    void followTimeTrial(bool flying);
    void drawHud();
    void drawTimeTrial();
    void toggleWireframe();
    void cycleMipmapMode();
    void restartGame();
    void toggleFullScreen();

    GLFWwindow* window_ = nullptr;
    std::unique_ptr<GlfwKeyInput> keys_;
    std::unique_ptr<scene::Autopilot> autopilot_;
    bool demo_ = false;
    CourseCatalogue catalogue_;
    std::unique_ptr<gl::SceneRenderTarget> sceneTarget_;
    std::unique_ptr<gl::UpscaleTarget> upscaleTarget_;
    std::unique_ptr<scene::Quad> compositeQuad_;
    std::unique_ptr<scene::Quad> velocityQuad_;
    std::unique_ptr<hud::Hud> hud_;
    std::unique_ptr<audio::GameAudio> audio_;
    QualityPreset quality_;
    scene::CourseInfo course_;
    std::unique_ptr<progress::TimeTrial> trial_;
    std::unique_ptr<hud::TrialHud> trialHud_;
    scene::GamePhase phase_;
    scene::GameEvents events_;
    // Events that arrive between two updates (a restart key), handed out with the next update's.
    scene::GameEvents pendingEvents_;
    bool minimised_ = false;
    // Where the window was before it went full screen.
    int windowedX_ = 0;
    int windowedY_ = 0;
    int windowedWidth_ = 0;
    int windowedHeight_ = 0;
};

}  // namespace common::app
