#pragma once

#include "hud/Guidance.h"

namespace common::hud {

// The one-line suggestion to lower the quality when the game is too slow for its picture: below 25
// frames a second the frame step is clamped and the race runs slower than real time, which a player
// notices before the frame rate. It appears once per start, when the averaged frame rate has stayed
// under 25 for five seconds of racing at a quality above low, and goes after a few seconds. Measured
// on the wall clock, not on the clamped step. GL-free.
class FrameRateHint {
  public:
    static constexpr double kSlowFrameRate = 25.0;
    static constexpr double kSlowFor = 5.0;
    static constexpr double kShownFor = 6.0;
    // The averaged frame time follows the frames with this time constant (seconds).
    static constexpr double kAveragingTime = 1.0;
    static constexpr const char* kText = "Running slow? Try Settings > Quality";

    // Once per frame: `wallTime` the real clock (seconds), `raceTime` the race clock (racing while it
    // runs on), `aboveLow` whether the quality could be lowered.
    void frame(double wallTime, double raceTime, bool aboveLow);
    // Only while racing, its few seconds counted then: a paused picture stays still, and the
    // countdown and the end screens keep the middle of the window to themselves.
    bool shown() const { return enabled_ && racing_ && shownLeft_ > 0.0; }
    // Off: never appears (and goes at once when showing).
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }
    double averageFrameRate() const { return averageFrameTime_ > 0.0 ? 1.0 / averageFrameTime_ : 0.0; }

    // Where the line goes in a window of this size: centred under the HUD's top lines, glyphs scaled
    // with the window's height and narrowed to fit its width.
    static ScreenRect placement(int width, int height);

  private:
    bool enabled_ = true;
    bool given_ = false;
    bool started_ = false;
    bool racing_ = false;
    double lastWallTime_ = 0.0;
    double lastRaceTime_ = 0.0;
    double averageFrameTime_ = 0.0;
    double slowFor_ = 0.0;
    double shownLeft_ = 0.0;
};

}  // namespace common::hud
