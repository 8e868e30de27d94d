#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hud/Guidance.h"

namespace common::progress {
struct RunSummary;
class TimeTrial;
}  // namespace common::progress

namespace common::hud {

class TextOverlay;

// The time trial's texts over the frame, in the HUD's bitmap font: the race clock in the upper-right
// corner, the last split under it, the run's summary under the finish screen's two lines, and
// "Paused". They keep clear of the Hud's own items (with the frame rate lines on) in any window from
// 640 x 480 up. Owned by the renderer; draws through the TextOverlay it is given, which the Hud sets
// up. Formatting and placement are GL-free.
class TrialHud {
  public:
    explicit TrialHud(TextOverlay& overlay) : overlay(overlay) {}

    static constexpr int kClockSize = 30;
    static constexpr int kSplitSize = 24;
    static constexpr int kSummarySize = 24;
    static constexpr int kPausedSize = 50;

    // "m:ss.cc" (minutes without a leading zero), rounded to the hundredth; nonsense reads 0:00.00.
    static std::string clockText(double seconds);
    // "-0.84" ahead of the best run, "+1.20" behind it.
    static std::string splitText(double delta);
    // The lines under "Your Points": the time, "New best!" or the best time, the rings, the medal.
    static std::vector<std::string> summaryLines(const progress::RunSummary& summary);

    // Where the clock and the split under it are drawn (up to eight clock glyphs wide), for the
    // guidance to keep clear of.
    static ScreenRect clockArea(int width, int height);
    // Where each text is drawn in a window of width x height: the lower-left corner of its first glyph,
    // its glyphs side by side, each as high as the rectangle.
    static ScreenRect clockRect(const std::string& text, int width, int height);
    static ScreenRect splitRect(const std::string& text, int width, int height);
    static ScreenRect pausedRect(int width, int height);
    static std::vector<ScreenRect> summaryRects(const std::vector<std::string>& lines, int width, int height);

    // The race's texts at `raceTime`: the clock, the split while it shows, the summary once the race is
    // `finished` and "Paused" while it is `paused`.
    void draw(const progress::TimeTrial& trial, double raceTime, bool finished, bool paused, int width,
              int height) const;
    void drawClock(double seconds, int width, int height) const;
    void drawSplit(double delta, int width, int height) const;
    void drawSummary(const progress::RunSummary& summary, int width, int height) const;
    void drawPaused(int width, int height) const;

  private:
    static constexpr const char* kPausedText = "Paused";

    void printIn(const std::string& text, const ScreenRect& line) const;

    TextOverlay& overlay;
};

}  // namespace common::hud
