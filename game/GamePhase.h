#pragma once

#include "game/GameEvent.h"

namespace common::scene {

// The renderer's side of the game rules: the countdown timer and the gate that decides whether the
// scene advances this frame. After a start or restart one update positions the scene, the scene then
// holds still while the countdown shows, and advances every frame once it is over, until a crash or
// the finish screen. While paused nothing counts and nothing advances.
class GamePhase {
  public:
    // The countdown shows 3 until 1 s, 2 until 2 s, 1 until 3 s, then 0 until it is over after 4 s.
    static constexpr double kCountdownEnd = 4.0;
    static int countdownNumber(double t);

    // Counts the frame time, whatever the phase. Reports each countdown number as it appears.
    GameEvents tick(double dt);
    // True when the scene should advance this frame, for the scene's running flag.
    bool sceneAdvances(bool running) const;
    // Called after the scene has advanced: the warm-up update is done. Once the countdown is over
    // the race clock counts the step.
    void sceneAdvanced(double dt = 0.0);
    // The countdown was drawn; `over` is what the HUD answered.
    void countdownDrawn(bool over);
    void finishDrawn() { finishShown = true; }
    // Pausing holds everything: the countdown, the scene and the race clock. Returns the new state.
    bool togglePause() { return paused = !paused; }
    // Back to the warm-up of a new game, unpaused.
    void restart();

    float countdownTimer = 0.0f;
    bool countdownActive = true;
    bool warmUpPending = true;
    bool finishShown = false;
    bool paused = false;
    // Seconds the scene has advanced since the countdown ended.
    double raceTime = 0.0;

  private:
    int shownNumber = -1;
};

}  // namespace common::scene
