#include "hud/TrialHud.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <GL/glew.h>

#include "hud/Hud.h"
#include "hud/TextOverlay.h"
#include "menu/TimeText.h"
#include "progress/TimeTrial.h"

namespace common::hud {
namespace {

// The clock keeps to the upper-right corner, right of the frame rate lines even in a 640-pixel window;
// the split sits under it, right-aligned with it.
constexpr int kEdgeMargin = 10;
constexpr int kClockTop = 15;
constexpr int kSplitGap = 6;
// The widest clock the guidance keeps clear of: up to 99:59.99.
constexpr int kClockAreaGlyphs = 8;
// The summary continues under "Your Points" (whose lower edge is 60 pixels under the window's middle),
// between the score and the dial.
constexpr int kSummaryTop = 68;
constexpr int kSummaryGap = 8;
// Windows narrower than 640 pixels may have the lines run over the dial rather than shrink further.
constexpr int kSummaryMinSize = 12;

ScreenRect lineRect(std::size_t glyphs, int x, int y, int size) {
    return {static_cast<float>(x), static_cast<float>(y),
            static_cast<float>(glyphs) * static_cast<float>(size), static_cast<float>(size)};
}

ScreenRect rightAligned(std::size_t glyphs, int right, int y, int size) {
    return lineRect(glyphs, right - static_cast<int>(glyphs) * size, y, size);
}

int clockBottom(int height) {
    return height - kClockTop - TrialHud::kClockSize;
}

int splitBottom(int height) {
    return clockBottom(height) - kSplitGap - TrialHud::kSplitSize;
}

}  // namespace

// Nonsense reads as no time at all on the clock.
std::string TrialHud::clockText(double seconds) {
    return menu::TimeText::clock(std::isfinite(seconds) && seconds >= 0.0 ? seconds : 0.0);
}

std::string TrialHud::splitText(double delta) {
    return menu::TimeText::difference(delta);
}

std::vector<std::string> TrialHud::summaryLines(const progress::RunSummary& summary) {
    std::vector<std::string> lines{"Time " + clockText(summary.time)};
    if (summary.newBest) {
        lines.emplace_back("New best!");
    } else if (summary.previousBest) {
        lines.push_back("Best " + clockText(*summary.previousBest));
    }
    lines.push_back("Rings " + std::to_string(summary.ringsCaptured) + "/" +
                    std::to_string(summary.ringCount));
    if (summary.medal != scene::Medal::None) {
        lines.push_back(std::string(scene::medalName(summary.medal)) + " medal");
    }
    return lines;
}

void TrialHud::printIn(const std::string& text, const ScreenRect& line) const {
    overlay.printText(text.c_str(), static_cast<int>(line.x), static_cast<int>(line.y),
                      static_cast<int>(line.height));
}

ScreenRect TrialHud::clockRect(const std::string& text, int width, int height) {
    return rightAligned(text.size(), width - kEdgeMargin, clockBottom(height), kClockSize);
}

ScreenRect TrialHud::splitRect(const std::string& text, int width, int height) {
    return rightAligned(text.size(), width - kEdgeMargin, splitBottom(height), kSplitSize);
}

// Above the countdown's digit, which a pause during the countdown keeps on screen.
ScreenRect TrialHud::pausedRect(int width, int height) {
    const std::size_t glyphs = std::strlen(kPausedText);
    return lineRect(glyphs, width / 2 - static_cast<int>(glyphs) * kPausedSize / 2, height * 2 / 3,
                    kPausedSize);
}

// Centred on the window where the lines fit between the score and the dial; narrow windows move them
// and, below about 800 pixels, give them smaller glyphs.
std::vector<ScreenRect> TrialHud::summaryRects(const std::vector<std::string>& lines, int width, int height) {
    const int left = Hud::kScoreRight + kSummaryGap;
    const int right = width - Hud::kDialSize - kSummaryGap;
    std::size_t longest = 1;
    for (const std::string& line : lines) {
        longest = std::max(longest, line.size());
    }
    const int size = std::clamp((right - left) / static_cast<int>(longest), kSummaryMinSize, kSummarySize);
    std::vector<ScreenRect> rects;
    int top = height / 2 - kSummaryTop;
    for (const std::string& line : lines) {
        const int lineWidth = static_cast<int>(line.size()) * size;
        const int x = std::max(left, std::min(width / 2 - lineWidth / 2, right - lineWidth));
        rects.push_back(lineRect(line.size(), x, top - size, size));
        top -= size + size / 3;
    }
    return rects;
}

ScreenRect TrialHud::clockArea(int width, int height) {
    const int right = width - kEdgeMargin;
    const int left = right - kClockAreaGlyphs * kClockSize;
    const int top = clockBottom(height) + kClockSize;
    return {static_cast<float>(left), static_cast<float>(splitBottom(height)),
            static_cast<float>(right - left), static_cast<float>(top - splitBottom(height))};
}

void TrialHud::draw(const progress::TimeTrial& trial, double raceTime, bool finished, bool paused, int width,
                    int height) const {
    drawClock(raceTime, width, height);
    if (const std::optional<double> split = trial.splitShown(raceTime)) {
        drawSplit(*split, width, height);
    }
    if (finished && trial.summary()) {
        drawSummary(*trial.summary(), width, height);
    }
    if (paused) {
        drawPaused(width, height);
    }
}

void TrialHud::drawClock(double seconds, int width, int height) const {
    glViewport(0, 0, width, height);
    const std::string text = clockText(seconds);
    printIn(text, clockRect(text, width, height));
}

void TrialHud::drawSplit(double delta, int width, int height) const {
    glViewport(0, 0, width, height);
    const std::string text = splitText(delta);
    printIn(text, splitRect(text, width, height));
}

void TrialHud::drawSummary(const progress::RunSummary& summary, int width, int height) const {
    glViewport(0, 0, width, height);
    const std::vector<std::string> lines = summaryLines(summary);
    const std::vector<ScreenRect> rects = summaryRects(lines, width, height);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        printIn(lines[i], rects[i]);
    }
}

void TrialHud::drawPaused(int width, int height) const {
    glViewport(0, 0, width, height);
    printIn(kPausedText, pausedRect(width, height));
}

}  // namespace common::hud
