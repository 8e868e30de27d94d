// The game's window resized by the window system during the countdown: the picture fills the new size
// and every item of the head-up display, texts included, sits where it belongs at that size.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/Picture.h"

using testsupport::GameProcess;
using testsupport::Picture;

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 900;

// A rectangle on a screenshot, from its top-left corner.
struct Box {
    int x, y, width, height;

    bool inside(const Box& outer) const {
        return x >= outer.x && y >= outer.y && x + width <= outer.x + outer.width &&
               y + height <= outer.y + outer.height;
    }
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// The smallest box around the window's pixels that differ between two shots, leaving out `ignored`;
// none when they are the same there.
std::optional<Box> changedArea(const Picture& a, const Picture& b, const std::vector<Box>& ignored) {
    int left = kWidth, top = kHeight, right = -1, bottom = -1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool skip = std::any_of(ignored.begin(), ignored.end(),
                                          [&](const Box& box) { return box.contains(x, y); });
            const Picture::Rgba p = a.at(x, y), q = b.at(x, y);
            if (!skip && (p.r != q.r || p.g != q.g || p.b != q.b)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    return Box{left, top, right - left + 1, bottom - top + 1};
}

// Mean colour difference between the opaque texels of the image's top `rows` and the shot with the
// image's top-left corner at (left, top), the image drawn 1 : 1.
double differenceToImage(const Picture& shot, const Picture& image, int left, int top, int rows) {
    double sum = 0.0;
    int count = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Picture::Rgba texel = image.at(x, y);
            if (texel.a == 255) {
                const Picture::Rgba p = shot.at(left + x, top + y);
                sum += (std::abs(p.r - texel.r) + std::abs(p.g - texel.g) + std::abs(p.b - texel.b)) / 3.0;
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : 255.0;
}

}  // namespace

// The scene holds still during the countdown, so two shots differ only where something changes on
// purpose: the countdown digit (an 80-pixel glyph from the middle, x 560 and 370 to 450 from the top at
// 1200 x 900), and after F2 the frame rate lines (from y 30 and 60, 20 pixels high). The race clock's
// white glyphs are in the upper-right corner, the score's "0" in its icon's box, and the dial's picture
// in the lower-right corner, where the top right shows the sky.
TEST(Window, AfterAResizeEveryHudItemSitsWhereItBelongsAtTheNewSize) {
    GameProcess game({"WIDTH\n640\nHEIGHT\n480\n", true, true});
    ASSERT_TRUE(game.startDrawing());
    testsupport::runCommand("xdotool windowsize " + game.waitForWindow() + " 1200 900");
    const Box digit{560, 370, 80, 80};
    const Box fpsLine{10, 30, 340, 20};
    const Box triangleLine{10, 60, 440, 20};

    int shots = 0;
    auto shoot = [&] {
        const auto path = game.runDir() / ("resized-" + std::to_string(shots++) + ".png");
        game.screenshot(path);
        return Picture(path);
    };
    auto bigEnough = [](const Picture& shot) { return shot.width() >= kWidth && shot.height() >= kHeight; };
    Picture previous = shoot();
    ASSERT_TRUE(bigEnough(previous));
    // Drawn at the new size and still.
    ASSERT_TRUE(GameProcess::waitUntil(
        [&] {
            Picture next = shoot();
            const bool still = game.windowSize() == "1200x900" && !changedArea(previous, next, {digit});
            previous = next;
            return still;
        },
        std::chrono::seconds(30), std::chrono::milliseconds(200)))
        << "never still at 1200 x 900";

    game.key("F2");
    ASSERT_TRUE(game.waitForOutput("Debug:  Show FPS\n"));
    const Picture withoutLines = previous;
    // Until both lines are in place: a shot taken while a frame is half presented may differ elsewhere
    // for a moment, but lines drawn in the wrong place never settle into their boxes.
    std::optional<Box> fps;
    std::optional<Box> triangles;
    EXPECT_TRUE(GameProcess::waitUntil(
        [&] {
            previous = shoot();
            fps = changedArea(withoutLines, previous, {digit, triangleLine});
            triangles = changedArea(withoutLines, previous, {digit, fpsLine});
            return fps && fps->inside(fpsLine) && triangles && triangles->inside(triangleLine);
        },
        std::chrono::seconds(10), std::chrono::milliseconds(200)))
        << "the frame rate lines did not show in their places";

    // The next digit replaces the last one in the middle of the window, and nothing else changes there.
    EXPECT_TRUE(GameProcess::waitUntil(
        [&] {
            Picture next = shoot();
            const std::optional<Box> changed = changedArea(previous, next, {fpsLine});
            previous = next;
            return changed && changed->inside(digit);
        },
        std::chrono::seconds(30), std::chrono::milliseconds(200)))
        << "the countdown digit never changed in the middle of the window (see " << game.runDir() << ")";
    const Picture& shot = previous;
    const double clock = shot.brightShare(980, 15, 210, 30, 240);
    EXPECT_GT(clock, 0.05) << "the clock's glyphs";
    EXPECT_LT(shot.brightShare(980, 50, 210, 30, 240), clock / 4) << "the sky under the clock";
    const double score = shot.brightShare(64, 816, 20, 20, 240);
    EXPECT_GT(score, 0.04) << "the score's 0";
    EXPECT_LT(shot.brightShare(90, 816, 20, 20, 240), score / 4) << "the score's box right of the 0";
    const auto textures = testsupport::stagedResources() / "textures";
    // The dial's top (the needle turns lower down).
    EXPECT_LT(differenceToImage(shot, Picture(textures / "altimeter.png"), kWidth - 256, kHeight - 256, 90),
              8.0);
    EXPECT_GT(shot.brightShare(1100, 80, 90, 50, 20), 0.9);
    EXPECT_EQ(game.windowSize(), "1200x900");
    EXPECT_TRUE(game.quit());
}
