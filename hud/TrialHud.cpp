#include "hud/TrialHud.h"

#include <cmath>
#include <cstdio>

#include <GL/glew.h>

#include "hud/TextOverlay.h"
#include "progress/TimeTrial.h"

namespace common::hud {
namespace {

// The finish screen's lines end at half the height minus 60 ("Your Points", 40 pixels high); the
// summary continues below with a little air between lines. Twelve glyphs of its size end left of
// the altimeter dial in an 800-pixel window.
constexpr int kSummaryTop = 100;
constexpr int kSummaryStep = 32;

}  // namespace

std::string TrialHud::clockText(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0) {
        seconds = 0.0;
    }
    const long long hundredths = std::llround(seconds * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

std::string TrialHud::splitText(double delta) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", delta);
    return text;
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

void TrialHud::printCentred(const std::string& text, int centreX, int y, int size) {
    const int x = centreX - static_cast<int>(text.size()) * size / 2;
    TextOverlay::instance().printText(text.c_str(), x, y, size);
}

ScreenRect TrialHud::clockArea(int width, int height) {
    const float clockWidth = 7.0f * kClockSize;
    const float top = static_cast<float>(height - 50 + kClockSize);
    const float bottom = static_cast<float>(height - 85);
    return {static_cast<float>(width) / 2.0f - clockWidth / 2.0f, bottom, clockWidth, top - bottom};
}

void TrialHud::drawClock(double seconds, int width, int height) const {
    glViewport(0, 0, width, height);
    printCentred(clockText(seconds), width / 2, height - 50, kClockSize);
}

void TrialHud::drawSplit(double delta, int width, int height) const {
    glViewport(0, 0, width, height);
    printCentred(splitText(delta), width / 2, height - 85, kSplitSize);
}

void TrialHud::drawSummary(const progress::RunSummary& summary, int width, int height) const {
    glViewport(0, 0, width, height);
    int y = height / 2 - kSummaryTop;
    for (const std::string& line : summaryLines(summary)) {
        printCentred(line, width / 2, y, kSummarySize);
        y -= kSummaryStep;
    }
}

// Above the countdown's digit, which a pause during the countdown keeps on screen.
void TrialHud::drawPaused(int width, int height) const {
    glViewport(0, 0, width, height);
    printCentred("Paused", width / 2, height * 2 / 3, kPausedSize);
}

}  // namespace common::hud
