#pragma once

namespace common::scene {

// The renderer's side of the game rules: the countdown timer and the gate that decides whether the
// scene advances this frame. After a start or restart one update positions the scene, the scene then
// holds still while the countdown shows, and advances every frame once it is over, until a crash or
// the finish screen.
class GamePhase {
  public:
    // Counts the frame time, whatever the phase.
    void tick(double dt);
    // True when the scene should advance this frame, for the scene's running flag.
    bool sceneAdvances(bool running) const;
    // Called after the scene has advanced: the warm-up update is done.
    void sceneAdvanced() { warmUpPending = false; }
    // The countdown was drawn; `over` is what the HUD answered.
    void countdownDrawn(bool over);
    void finishDrawn() { finishShown = true; }
    // Back to the warm-up of a new game.
    void restart();

    float countdownTimer = 0.0f;
    bool countdownActive = true;
    bool warmUpPending = true;
    bool finishShown = false;
};

}  // namespace common::scene
