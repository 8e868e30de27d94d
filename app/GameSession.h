#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "app/CourseCatalogue.h"
#include "game/CourseInfo.h"
#include "game/GameEvent.h"
#include "game/GamePhase.h"
#include "game/Race.h"
#include "hud/Guidance.h"

namespace common::course {
class CourseRecorder;
}
namespace common::audio {
class GameAudio;
}
namespace common::progress {
class TimeTrial;
}
namespace common::scene {
class Autopilot;
class KeyInput;
class SceneController;
}  // namespace common::scene

namespace common::app {

// The game around the race: which course is flown and the switch to the next, the race itself (the
// craft, the rules, the countdown gate, the clock), the time trial with its records and ghost, the
// sound, the guidance switch and the demo's autopilot. Each frame the race advances with the frame's
// input; the scene follows it (the drawn craft, the spinning rings, the camera) and the frame's
// events go to the time trial and the sound. It never draws.
class GameSession {
  public:
    // `keys` steer the craft unless the autopilot flies it (`demo`); neither is owned.
    GameSession(scene::SceneController& scene, CourseCatalogue catalogue, scene::KeyInput& keys, bool demo);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // The course to start on: `asked` when the catalogue knows it, else `configured` (config.txt's),
    // else the first. Throws std::runtime_error with the line to report when it cannot be loaded.
    void start(const std::string& asked, const std::string& configured);
    // The next course in catalogue order, from its countdown. A course that cannot be loaded is
    // skipped with one line and the one just flown is loaded again; throws when even that fails.
    void switchCourse();
    // The same for the course of that name (the catalogue's first when it has none of that name).
    void switchCourse(const std::string& name);
    // The autopilot flies the craft from the next update on (as in the demo), or the keys again.
    void setAutopilot(bool on);
    // A new game on the same course: the craft back at the start, a new countdown.
    void restart();
    // Returns whether the game is now paused.
    bool togglePause();
    // The sound's mute switch; returns whether it is now muted.
    bool toggleMute();

    // Recording a course over the loaded island (its rings left out): the recorder's keys act, a crash
    // puts the craft back at the last ring dropped and the finish saves into `folder`.
    void record(std::unique_ptr<course::CourseRecorder> recorder, std::string folder);
    // A recorder's key or pad button (GLFW codes): true when it was the recorder's and it acted (never
    // while paused).
    bool recorderKey(int key);
    bool recorderButton(int button);
    // What the recorder shows on screen: the rings so far, then the check's verdict on the saved
    // course. Empty when not recording.
    const std::vector<std::string>& recorderLines() const { return recorderLines_; }

    // One frame: the countdown, the scene when the gate lets it advance, then the time trial and the
    // sound with the frame's events. Returns whether the scene advanced.
    bool update(double dt);

    const scene::GamePhase& phase() const { return race_->phase(); }
    // The HUD tells the gate when the countdown and the finish have been shown.
    scene::GamePhase& phase() { return race_->phase(); }
    scene::Race& race() { return *race_; }
    const scene::GameEvents& events() const { return events_; }
    const scene::CourseInfo& course() const { return course_; }
    void setCourse(const scene::CourseInfo& course);
    const CourseCatalogue& courses() const { return catalogue_; }
    audio::GameAudio& audio() { return *audio_; }
    progress::TimeTrial& timeTrial() { return *trial_; }
    const progress::TimeTrial& timeTrial() const { return *trial_; }
    // Where `placement` shows the next ring this frame; none while the guidance is off or no race is on.
    std::optional<hud::GuidanceMark> guidanceMark(const hud::Guidance& placement) const;
    // Where the ghost's craft is this frame, when there is one to show.
    std::optional<glm::mat4> ghostPose() const;

    // The mark over the next ring, or the arrow towards it.
    bool guidance = true;
    // Up noses the craft up (the player's keys and pad only, never the autopilot).
    bool invertPitch = false;

  private:
    std::string startCourse(const std::string& asked, const std::string& configured) const;
    // False when the scene cannot be read or has no craft; throws when the height map cannot be read
    // (the scene is then left as it was).
    bool loadCourse(const scene::CourseInfo& course);
    bool loadCourseOrSay(const scene::CourseInfo& course);
    void startRace();
    scene::KeyInput& input();
    void reportFinish(const scene::GameEvent& event) const;
    void followTimeTrial(bool flying);
    void playSounds(double dt);
    void finishRecording();
    void showRings();
    void restartAfterCrash();

    scene::SceneController& scene_;
    CourseCatalogue catalogue_;
    scene::KeyInput& keys_;
    bool demo_;
    std::unique_ptr<scene::Autopilot> autopilot_;
    scene::CourseInfo course_;
    std::unique_ptr<audio::GameAudio> audio_;
    std::unique_ptr<progress::TimeTrial> trial_;
    std::unique_ptr<scene::Race> race_;
    scene::GameEvents events_;
    std::unique_ptr<course::CourseRecorder> recorder_;
    std::string recordFolder_;
    std::vector<std::string> recorderLines_;
};

}  // namespace common::app
