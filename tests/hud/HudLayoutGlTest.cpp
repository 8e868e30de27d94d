// The HUD's rules without a display: the countdown, the needle's turn, the glyph squares and where the
// time trial's texts go.
#include "hud/Hud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "hud/Guidance.h"
#include "hud/TextOverlay.h"
#include "hud/TrialHud.h"
#include "progress/TimeTrial.h"

using common::hud::Hud;
using common::hud::ScreenRect;
using common::hud::TextOverlay;
using common::hud::TrialHud;

// The countdown ends after four seconds. The needle matrix's first two columns are (cos a, sin a) and
// (-sin a, cos a): a positive angle turns counter-clockwise.
TEST(Hud, TheCountdownShowsEachSecondsDigitAndTheNeedleTurnsByTheAngleInDegrees) {
    const std::tuple<double, const char*, bool> cases[] = {
        {0.0, "3", false}, {1.0, "3", false}, {1.01, "2", false}, {2.0, "2", false},
        {3.0, "1", false}, {3.5, "0", false}, {4.0, "0", false},  {4.01, "0", true}};
    for (const auto& [t, text, over] : cases) {
        EXPECT_STREQ(Hud::countdownText(t), text) << "t = " << t;
        EXPECT_EQ(Hud::countdownOver(t), over) << "t = " << t;
    }

    for (const auto& [angle, cosine, sine] :
         {std::tuple{-90.0f, 0.0f, -1.0f}, {30.0f, std::sqrt(3.0f) / 2, 0.5f}}) {
        const glm::mat4 m = Hud::needleMatrix(angle);
        EXPECT_LT(glm::distance(m[0], glm::vec4(cosine, sine, 0.0f, 0.0f)), 1e-6f) << angle;
        EXPECT_LT(glm::distance(m[1], glm::vec4(-sine, cosine, 0.0f, 0.0f)), 1e-6f) << angle;
        EXPECT_EQ(m[2], glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
        EXPECT_EQ(m[3], glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    }
}

TEST(TextOverlayGlyphs, EachCharacterIsASquareOfSizeFromItsAtlasCell) {
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
    // 'A' is 65: column 1, row 4 counted from the top of the atlas, whose bottom row lies at v = 0.
    TextOverlay::buildGlyphs("A", 10, 20, 30, positions, uvs);
    EXPECT_EQ(positions,
              (std::vector<glm::vec2>{{10, 50}, {10, 20}, {40, 50}, {40, 20}, {40, 50}, {10, 20}}));
    // The cell's corners in the same order, 1/16 of the atlas a side.
    const float left = 0.0625f, right = 0.125f, bottom = 0.6875f, top = 0.75f;
    EXPECT_EQ(uvs,
              (std::vector<glm::vec2>{
                  {left, top}, {left, bottom}, {right, top}, {right, bottom}, {right, top}, {left, bottom}}));

    // Codes are signed bytes: one above 127 is negative, its column and row found by truncating division.
    const std::tuple<const char*, int, std::size_t, glm::vec2, glm::vec2> cells[] = {
        // text, x, glyph, its top left corner, its cell's top left corner
        {" ", 0, 0, {0, 20}, {0.0f, 0.875f}},         // 32: column 0, row 2
        {"Hi", -25, 1, {-5, 20}, {0.5625f, 0.625f}},  // 'i' is 105: column 9, row 6
        {"\xC8", 0, 0, {0, 20}, {-0.5f, 1.1875f}},    // -56: column -8, row -3
        {"\x80", 0, 0, {0, 20}, {0.0f, 1.5f}},        // -128: column 0, row -8
    };
    for (const auto& [text, x, glyph, corner, cell] : cells) {
        TextOverlay::buildGlyphs(text, x, 0, 20, positions, uvs);
        ASSERT_EQ(positions.size(), 6 * std::strlen(text));
        EXPECT_EQ(positions[6 * glyph], corner) << text;
        EXPECT_EQ(uvs[6 * glyph], cell) << text;
    }
    for (const char* nothing : {"", static_cast<const char*>(nullptr)}) {
        TextOverlay::buildGlyphs(nothing, 5, 5, 10, positions, uvs);
        EXPECT_TRUE(positions.empty() && uvs.empty());
    }
}

// The time trial's longest texts, in windows from the smallest supported up, tall and wide ones too:
// inside the window, clear of every item of the Hud (frame rate lines on) and of one another, the
// clock and split inside the area the guidance keeps clear of, and the summary still readable.
TEST(TrialHudLayout, TheTrialTextsKeepClearOfTheHudAtEveryWindowSize) {
    common::progress::RunSummary run;
    run.time = 3599.99;
    run.previousBest = 3599.98;
    run.ringsCaptured = 124;
    run.ringCount = 125;
    run.medal = common::scene::Medal::Bronze;
    const std::vector<std::string> summary = TrialHud::summaryLines(run);
    const std::string clock = TrialHud::clockText(run.time);
    const std::string split = TrialHud::splitText(-99.99);

    const std::pair<int, int> sizes[] = {{640, 480},   {800, 600},  {1024, 768}, {1200, 900},
                                         {1920, 1080}, {640, 1400}, {2560, 480}, {3840, 2160}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        std::vector<ScreenRect> hud = Hud::occupiedAreas(width, height, false);
        const std::vector<ScreenRect> messages = Hud::messageAreas(width, height);
        hud.insert(hud.end(), messages.begin(), messages.end());

        std::vector<std::pair<std::string, ScreenRect>> texts{
            {clock, TrialHud::clockRect(clock, width, height)},
            {split, TrialHud::splitRect(split, width, height)},
            {"Paused", TrialHud::pausedRect(width, height)}};
        const std::vector<ScreenRect> lines = TrialHud::summaryRects(summary, width, height);
        ASSERT_EQ(lines.size(), summary.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            texts.emplace_back(summary[i], lines[i]);
            EXPECT_GE(lines[i].height, 14.0f) << summary[i];  // still readable
        }
        const ScreenRect window{0.0f, 0.0f, float(width), float(height)};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto& [text, area] = texts[i];
            EXPECT_TRUE(area.inside(window)) << text;
            for (const ScreenRect& item : hud) {
                EXPECT_FALSE(area.overlaps(item)) << text << " over the Hud's " << item.x << ", " << item.y;
            }
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                EXPECT_FALSE(area.overlaps(texts[j].second)) << text << " over " << texts[j].first;
            }
        }
        const ScreenRect guidanceKeepsClear = TrialHud::clockArea(width, height);
        EXPECT_TRUE(texts[0].second.inside(guidanceKeepsClear));
        EXPECT_TRUE(texts[1].second.inside(guidanceKeepsClear));
    }
}
