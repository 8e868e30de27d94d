#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hud/Guidance.h"

namespace common::progress {
struct RunSummary;
}

namespace common::hud {

// The time trial's texts over the frame, in the HUD's bitmap font: the race clock at the top centre,
// the last split under it, the run's summary under the finish screen's two lines, and "Paused". Each
// text is centred on the window. Owned by the renderer; draws through the TextOverlay singleton, so
// it needs the Hud built first. Formatting is GL-free.
class TrialHud {
  public:
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

    // Where the clock and the split under it are drawn (seven clock glyphs wide), for the guidance to
    // keep clear of.
    static ScreenRect clockArea(int width, int height);

    void drawClock(double seconds, int width, int height) const;
    void drawSplit(double delta, int width, int height) const;
    void drawSummary(const progress::RunSummary& summary, int width, int height) const;
    void drawPaused(int width, int height) const;

  private:
    static void printCentred(const std::string& text, int centreX, int y, int size);
};

}  // namespace common::hud
