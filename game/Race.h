#pragma once

#include <deque>
#include <vector>

#include <glm/glm.hpp>

#include "game/CraftFlight.h"
#include "game/GameEvent.h"
#include "game/GamePhase.h"
#include "game/GameRules.h"
#include "game/InputFrame.h"
#include "game/RingGate.h"

namespace common::scene {

class HeightMap;

// A course as the race needs it: where the craft starts, and the rings in course order.
struct RaceCourse {
    struct Ring {
        glm::mat4 transform{1.0f};
        bool finish = false;
    };
    glm::mat4 start{1.0f};
    std::vector<Ring> rings;

    std::vector<glm::mat4> ringTransforms() const;
};

// One race over a course, with nothing drawn: the craft's flight, the rules (rings, score, finish,
// altitude, crash), the phase (warm-up, countdown, racing, paused, finished, crashed) and the race
// clock. Each frame it advances by dt with that frame's input and returns the frame's events, in the
// order the game loop produces them; the countdown ends and the finish holds once the frame that
// shows them has been shown (frameShown(), or the HUD's answer through phase()).
class Race {
  public:
    // `ground` (not owned; may be null: no ground, no crash) gives the altitude.
    Race(RaceCourse course, const HeightMap* ground);
    Race(const Race&) = delete;
    Race& operator=(const Race&) = delete;

    // True when the next advance moves the craft: the warm-up step of a new game, then every frame
    // once the countdown is over, until a crash or the finish has been shown; never while paused.
    bool advancesNow() const;
    GameEvents advance(double dt, const InputFrame& input);
    // The frame was shown as the game's HUD shows it: the countdown's last number ends it, and the
    // finish screen holds the race.
    void frameShown();
    // A new game: the craft back at the start, every ring scoring again, the countdown from the
    // beginning. The next advance reports it first.
    void restart();
    // Returns whether the race is now paused.
    bool togglePause() { return phase_.togglePause(); }
    // Puts the craft at `position`, turned as it is, as if it had been there all along (no step
    // through the rings on the way).
    void placeCraft(const glm::vec3& position);

    const RaceCourse& course() const { return course_; }
    const CraftFlight& craft() const { return craft_; }
    const GameRules& rules() const { return rules_; }
    const GamePhase& phase() const { return phase_; }
    GamePhase& phase() { return phase_; }

  private:
    RaceCourse course_;
    CraftFlight craft_;
    std::deque<RingGate> gates_;
    GameRules rules_;
    GamePhase phase_;
    GameEvents pending_;
};

}  // namespace common::scene
