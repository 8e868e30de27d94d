#include "hud/FrameRateHint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace common::hud {
namespace {

// Below the HUD's top lines (the frame rate and triangle count, the clock and split), above the middle
// where the pause and the countdown are written.
constexpr int kTopMargin = 90;
constexpr int kSideMargin = 8;
constexpr int kMinGlyph = 8;
constexpr int kMaxGlyph = 28;

}  // namespace

void FrameRateHint::frame(double wallTime, double raceTime, bool aboveLow) {
    const double step = wallTime - lastWallTime_;
    const bool racing = started_ && raceTime > lastRaceTime_;
    racing_ = racing;
    lastRaceTime_ = raceTime;
    lastWallTime_ = wallTime;
    if (!started_ || step <= 0.0) {
        started_ = true;
        return;
    }
    if (averageFrameTime_ <= 0.0) {
        averageFrameTime_ = step;
    }
    averageFrameTime_ += (step - averageFrameTime_) * (1.0 - std::exp(-step / kAveragingTime));
    if (racing) {
        shownLeft_ = std::max(0.0, shownLeft_ - step);
    }
    if (given_ || !enabled_) {
        return;
    }
    if (!aboveLow || averageFrameRate() >= kSlowFrameRate) {
        slowFor_ = 0.0;
    } else if (racing) {
        slowFor_ += step;
    }
    if (slowFor_ >= kSlowFor) {
        given_ = true;
        shownLeft_ = kShownFor;
    }
}

ScreenRect FrameRateHint::placement(int width, int height) {
    const int length = static_cast<int>(std::strlen(kText));
    const int fitting = (width - 2 * kSideMargin) / length;
    const int size = std::max(kMinGlyph, std::min({height / 28, kMaxGlyph, fitting}));
    const int lineWidth = size * length;
    return {static_cast<float>((width - lineWidth) / 2), static_cast<float>(height - kTopMargin - size),
            static_cast<float>(lineWidth), static_cast<float>(size)};
}

}  // namespace common::hud
