// The menu in the real game: P opens it over the frozen picture, the keys walk it to the second course,
// and its panel sits inside the window from the smallest to a full-HD one.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/CourseCatalogue.h"
#include "tests/support/GameProcess.h"
#include "tests/support/Picture.h"
#include "tests/support/TestFiles.h"

using testsupport::GameProcess;
using testsupport::Picture;

namespace {

// The gold of the panel's rim and of the highlight bar, drawn over the veil that darkens everything
// else (the HUD's own gold included).
bool gold(const Picture::Rgba& p) {
    return p.r >= 200 && p.g >= 110 && p.g <= 215 && p.b <= 110;
}

// The rows of the window of width x height (top-left of the screenshot) that carry a long gold line:
// the panel's top and bottom rim and the bar. Where they are tells where the panel is.
struct GoldLines {
    int top = -1;
    int bottom = -1;
    int left = 1 << 20;
    int right = -1;
};

GoldLines goldLines(const Picture& shot, int width, int height) {
    GoldLines lines;
    for (int y = 0; y < height; ++y) {
        int count = 0;
        int first = -1;
        int last = -1;
        for (int x = 0; x < width; ++x) {
            if (gold(shot.at(x, y))) {
                ++count;
                first = first < 0 ? x : first;
                last = x;
            }
        }
        if (count >= width * 2 / 5) {
            lines.top = lines.top < 0 ? y : lines.top;
            lines.bottom = y;
            lines.left = std::min(lines.left, first);
            lines.right = std::max(lines.right, last);
        }
    }
    return lines;
}

// Waits for the menu to show on screen and checks its panel lies inside the window with room to spare.
void expectMenuInside(GameProcess& game, int width, int height, const std::string& name) {
    const std::filesystem::path shot = game.runDir() / name;
    GoldLines lines;
    const bool shown = GameProcess::waitUntil(
        [&] {
            game.screenshot(shot);
            const Picture picture(shot);
            if (!picture.valid() || picture.width() < width || picture.height() < height) {
                return false;
            }
            lines = goldLines(picture, width, height);
            return lines.bottom - lines.top > height / 4;
        },
        std::chrono::seconds(60), std::chrono::milliseconds(500));
    ASSERT_TRUE(shown) << name << ": no menu panel on screen";
    EXPECT_GE(lines.top, 5) << name;
    EXPECT_LE(lines.bottom, height - 6) << name;
    EXPECT_GE(lines.left, 5) << name;
    EXPECT_LE(lines.right, width - 6) << name;
}

// A private virtual screen of full-HD size (the shared one is smaller), for the time of a test.
class FullHdDisplay {
  public:
    FullHdDisplay() {
        const char* previous = std::getenv("DISPLAY");
        previous_ = previous ? previous : "";
        for (int number = 150; number < 200 && pid_.empty(); ++number) {
            const std::string display = ":" + std::to_string(number);
            if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
                continue;
            }
            pid_ = testsupport::runCommand("Xvfb " + display +
                                           " -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 & "
                                           "echo -n $!");
            GameProcess::waitUntil(
                [&] { return std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)); },
                std::chrono::seconds(10));
            setenv("DISPLAY", display.c_str(), 1);
        }
    }
    ~FullHdDisplay() {
        setenv("DISPLAY", previous_.c_str(), 1);
        if (!pid_.empty()) {
            testsupport::runCommand("kill " + pid_);
        }
    }

  private:
    std::string previous_;
    std::string pid_;
};

}  // namespace

// P pauses and shows the menu inside a 640 x 480 window; Down, Down, Return (Courses), Down, Return
// loads the second course with its countdown, the menu closing and the game going on.
TEST(GameMenu, PauseMenuLoadsTheSecondCourse) {
    const common::app::CourseCatalogue catalogue = common::app::CourseCatalogue::load();
    ASSERT_GE(catalogue.courses().size(), 2u);
    GameProcess game({std::string("WIDTH\n640\nHEIGHT\n480\n")});
    ASSERT_TRUE(game.startDrawing());
    game.key("p");
    ASSERT_TRUE(game.waitForOutput(" Pause ON"));
    expectMenuInside(game, 640, 480, "menu-640x480.png");
    for (const char* key : {"Down", "Down", "Return", "Down", "Return"}) {
        game.key(key);
    }
    const std::string loaded = " Course " + catalogue.courses()[1].name + ".";
    ASSERT_TRUE(game.waitForOutput(loaded)) << game.out();
    EXPECT_LT(game.out().find(" Pause OFF"), game.out().find(loaded));
    EXPECT_TRUE(game.quit());
}

// --menu starts with the menu open over the paused countdown; in a 1920 x 1080 window it sits inside.
// Turning the sound off in Settings is saved at once.
TEST(GameMenu, MenuAtStartFitsAFullHdWindow) {
    const FullHdDisplay display;
    GameProcess game({std::string("WIDTH\n1920\nHEIGHT\n1080\n"), true, true, "--menu"});
    ASSERT_TRUE(game.startDrawing());
    ASSERT_TRUE(game.waitForOutput(" Pause ON"));
    expectMenuInside(game, 1920, 1080, "menu-1920x1080.png");
    // Settings, then its second row (Sound): the game goes quiet and the file says so at once.
    for (const char* key : {"Down", "Down", "Down", "Return", "Down", "Return"}) {
        game.key(key);
    }
    ASSERT_TRUE(game.waitForOutput(" Sound OFF")) << game.out();
    const std::filesystem::path settings = game.configDir() / "skyrings" / "settings.json";
    // The line comes as the sound goes off; the file is written right after.
    EXPECT_TRUE(GameProcess::waitUntil(
        [&] { return testsupport::readFile(settings).find("\"sound\": false") != std::string::npos; },
        std::chrono::seconds(10)))
        << testsupport::readFile(settings);
    EXPECT_TRUE(game.quit());
}
