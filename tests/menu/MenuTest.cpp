#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "menu/Menu.h"
#include "menu/MenuLayout.h"
#include "menu/SettingsRows.h"

namespace {

using common::menu::ActionType;
using common::menu::CourseEntry;
using common::menu::Menu;
using common::menu::MenuAction;
using common::menu::MenuKey;
using common::menu::MenuLayout;
using common::menu::Screen;
using common::menu::SettingsRows;
using common::progress::GhostChoice;
using common::progress::Settings;
using common::scene::Medal;

// Three courses; the second has no record yet, so the records screen cannot choose it.
std::vector<CourseEntry> courses() {
    CourseEntry mountain{"mountain",  12,           1398.0,       120.35, 118.5,
                         Medal::Gold, {9.5, 20.25}, "2026-12-01", "",     "mountain"};
    CourseEntry coast{"coast", 10, 1200.0, 100.0, std::nullopt, Medal::None, {}, "", "", "coast"};
    CourseEntry slalom{"slalom", 14, 900.0, 80.0, 97.0, Medal::Silver, {}, "", "", "slalom"};
    return {mountain, coast, slalom};
}

// Keys as letters: u d l r (arrows), c (choose), b (back), p (close). Returns the last key's action.
MenuAction pressAll(Menu& menu, const std::string& keys) {
    MenuAction last;
    for (const char key : keys) {
        const MenuKey pressed = key == 'u'   ? MenuKey::Up
                                : key == 'd' ? MenuKey::Down
                                : key == 'l' ? MenuKey::Left
                                : key == 'r' ? MenuKey::Right
                                : key == 'c' ? MenuKey::Choose
                                : key == 'b' ? MenuKey::Back
                                             : MenuKey::Close;
        last = menu.press(pressed);
    }
    return last;
}

enum class Opened { Main, Finished, Crashed, FinishedOneCourse };

Menu opened(Opened how) {
    Menu menu;
    std::vector<CourseEntry> list = courses();
    if (how == Opened::FinishedOneCourse) {
        list.resize(1);
    }
    menu.setCourses(list);
    if (how == Opened::Main) {
        menu.openMain();
    } else {
        menu.openResults(how != Opened::Crashed);
    }
    return menu;
}

}  // namespace

// Every screen reached by keys: where the highlight lands, the ends wrapping round, rows that cannot be
// chosen skipped, Back one screen up (and out from the first), Close from anywhere, and what each
// choice asks of the game.
TEST(Menu, NavigationTable) {
    constexpr auto kClosed = static_cast<Screen>(-1);
    const struct {
        Opened from;
        const char* keys;
        Screen screen;
        int row;
        ActionType action;
        int course;
    } cases[] = {
        {Opened::Main, "", Screen::Main, Menu::Resume, ActionType::None, -1},
        {Opened::Main, "u", Screen::Main, Menu::Quit, ActionType::None, -1},
        {Opened::Main, "ddddddd", Screen::Main, Menu::Resume, ActionType::None, -1},
        {Opened::Main, "c", kClosed, -1, ActionType::Resume, -1},
        {Opened::Main, "dc", kClosed, -1, ActionType::Restart, -1},
        {Opened::Main, "uc", kClosed, -1, ActionType::Quit, -1},
        {Opened::Main, "b", kClosed, -1, ActionType::Resume, -1},
        {Opened::Main, "ddcdp", kClosed, -1, ActionType::Resume, -1},
        // Courses: the second one loads; Back returns to the row it came from.
        {Opened::Main, "ddc", Screen::Courses, 0, ActionType::None, -1},
        {Opened::Main, "ddcdc", kClosed, -1, ActionType::LoadCourse, 1},
        {Opened::Main, "ddcuc", kClosed, -1, ActionType::LoadCourse, 2},
        {Opened::Main, "ddcb", Screen::Main, Menu::Courses, ActionType::None, -1},
        // Settings: Return changes the value and stays.
        {Opened::Main, "dddc", Screen::Settings, SettingsRows::Quality, ActionType::None, -1},
        {Opened::Main, "dddcdc", Screen::Settings, SettingsRows::Sound, ActionType::ChangeSettings, -1},
        {Opened::Main, "dddcr", Screen::Settings, SettingsRows::Quality, ActionType::ChangeSettings, -1},
        {Opened::Main, "dddcub", Screen::Main, Menu::Settings, ActionType::None, -1},
        // Records: the course without a record is skipped both ways; deleting asks first.
        {Opened::Main, "ddddc", Screen::Records, 0, ActionType::None, -1},
        {Opened::Main, "ddddcd", Screen::Records, 2, ActionType::None, -1},
        {Opened::Main, "ddddcu", Screen::Records, 2, ActionType::None, -1},
        {Opened::Main, "ddddcdd", Screen::Records, 0, ActionType::None, -1},
        {Opened::Main, "ddddcc", Screen::ConfirmDelete, 0, ActionType::None, -1},
        {Opened::Main, "ddddccc", Screen::Records, 0, ActionType::None, -1},
        {Opened::Main, "ddddccb", Screen::Records, 0, ActionType::None, -1},
        {Opened::Main, "ddddcdcdc", Screen::Records, 2, ActionType::DeleteRecord, 2},
        // Controls: rows to read, none to do.
        {Opened::Main, "dddddc", Screen::Controls, 0, ActionType::None, -1},
        {Opened::Main, "dddddcdc", Screen::Controls, 1, ActionType::None, -1},
        // Results after a finish and after a crash.
        {Opened::Finished, "", Screen::Results, 0, ActionType::None, -1},
        {Opened::Finished, "c", kClosed, -1, ActionType::Restart, -1},
        {Opened::Finished, "dc", kClosed, -1, ActionType::NextCourse, -1},
        {Opened::Finished, "ddc", Screen::Courses, 0, ActionType::None, -1},
        {Opened::Finished, "ddcb", Screen::Results, 2, ActionType::None, -1},
        {Opened::Finished, "b", kClosed, -1, ActionType::None, -1},
        {Opened::Crashed, "d", Screen::Results, 1, ActionType::None, -1},
        {Opened::Crashed, "dc", Screen::Courses, 0, ActionType::None, -1},
        {Opened::FinishedOneCourse, "d", Screen::Results, 2, ActionType::None, -1},
    };
    for (const auto& c : cases) {
        Menu menu = opened(c.from);
        const MenuAction action = pressAll(menu, c.keys);
        const std::string where = std::string("keys \"") + c.keys + "\" from " + std::to_string(int(c.from));
        EXPECT_EQ(action.type, c.action) << where;
        EXPECT_EQ(action.course, c.course) << where;
        if (c.screen == kClosed) {
            EXPECT_FALSE(menu.isOpen()) << where;
            continue;
        }
        ASSERT_TRUE(menu.isOpen()) << where;
        EXPECT_EQ(menu.screen(), c.screen) << where;
        EXPECT_EQ(menu.highlighted(), c.row) << where;
    }
}

// The rows each screen lists: the pause menu's order, the results' choices, the courses with their best
// times and medals, and the lines about the highlighted course or record.
TEST(Menu, ScreensListWhatThePlayerNeeds) {
    Menu menu = opened(Opened::Main);
    std::vector<std::string> labels;
    for (const auto& item : menu.items()) {
        labels.push_back(item.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Resume", "Restart", "Courses", "Settings", "Records",
                                                "Controls", "Quit"}));
    pressAll(menu, "ddc");
    const auto rows = menu.items();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].value, "1:58.50");
    EXPECT_EQ(rows[0].medal, Medal::Gold);
    EXPECT_EQ(rows[1].value, "no record");
    EXPECT_EQ(menu.details(),
              (std::vector<std::string>{"12 rings  1398 units  par 2:00.35", "Best 1:58.50  Gold"}));
    pressAll(menu, "bddc");
    EXPECT_EQ(menu.screen(), Screen::Records);
    EXPECT_EQ(menu.details(), (std::vector<std::string>{"Flown 2026-12-01", "Splits 0:09.50 0:20.25"}));
    // A record that went (deleted by this or another game) moves the highlight to one that is there.
    std::vector<CourseEntry> without = courses();
    without[0].best.reset();
    menu.setCourses(without);
    EXPECT_EQ(menu.highlighted(), 2);

    Menu crashed = opened(Opened::Crashed);
    EXPECT_EQ(crashed.items().size(), 2u);
    EXPECT_EQ(opened(Opened::Finished).items().size(), 3u);
}

// The mouse: hovering highlights only rows that can be chosen, a click chooses the row under it.
TEST(Menu, MouseHoversAndClicks) {
    Menu menu = opened(Opened::Main);
    pressAll(menu, "ddddc");
    menu.hover(1);
    EXPECT_EQ(menu.highlighted(), 0);
    menu.hover(2);
    EXPECT_EQ(menu.highlighted(), 2);
    EXPECT_EQ(menu.click(1).type, ActionType::None);
    EXPECT_EQ(menu.screen(), Screen::Records);
    pressAll(menu, "b");
    EXPECT_EQ(menu.click(Menu::Quit).type, ActionType::Quit);
    EXPECT_FALSE(menu.isOpen());
}

// Left / Right and Return step each setting; the volume stops at its ends (Return wraps it), lists wrap.
TEST(Menu, SettingsStepThroughTheirValues) {
    const struct {
        int row;
        int direction;
        bool wrap;
        Settings from;
        const char* shown;
    } cases[] = {
        {SettingsRows::Quality, +1, false, {}, "medium"},
        {SettingsRows::Quality, -1, false, {}, "low"},
        {SettingsRows::Volume, +1, false, {}, "100 %"},
        {SettingsRows::Volume, -1, false, {}, "90 %"},
        {SettingsRows::Volume, +1, true, {}, "0 %"},
        {SettingsRows::Ghost, -1, false, Settings{}, "off"},
        {SettingsRows::Ghost, +1, false, Settings{}, "par"},
        {SettingsRows::Sound, -1, false, {}, "off"},
        {SettingsRows::InvertPitch, +1, false, {}, "on"},
        {SettingsRows::FrameRate, +1, false, {}, "on"},
    };
    for (const auto& c : cases) {
        Settings settings = c.from;
        SettingsRows::step(settings, c.row, c.direction, c.wrap);
        EXPECT_EQ(SettingsRows::value(settings, c.row), c.shown) << SettingsRows::label(c.row);
    }
    Settings low;
    low.volume = 0;
    SettingsRows::step(low, SettingsRows::Volume, -1);
    EXPECT_EQ(low.volume, 0);

    // Through the menu: the changed value is what the game is handed.
    Menu menu = opened(Opened::Main);
    menu.setSettings({});
    pressAll(menu, "dddcddddl");
    EXPECT_EQ(menu.settings().ghost, GhostChoice::Off);
    EXPECT_EQ(menu.items()[SettingsRows::Ghost].value, "off");
}

// Every screen fits the window from 640 x 480 to 2560 x 1440: the panel, title, rows and details
// inside, rows apart, text no smaller than readable and growing with the window; the mouse finds each
// row at its middle.
TEST(MenuLayout, FitsEveryScreenInEveryWindow) {
    const std::pair<Opened, std::string> screens[] = {{Opened::Main, ""},       {Opened::Main, "ddc"},
                                                      {Opened::Main, "dddc"},   {Opened::Main, "ddddc"},
                                                      {Opened::Main, "dddddc"}, {Opened::Main, "dddddcuuuuu"},
                                                      {Opened::Finished, ""},   {Opened::Crashed, ""}};
    const int sizes[][2] = {{640, 480}, {800, 600}, {1920, 1080}, {2560, 1440}};
    for (const auto& [from, keys] : screens) {
        int previousGlyph = 0;
        for (const auto& size : sizes) {
            Menu menu = opened(from);
            menu.setResultLines({"Time 0:32.83  Gold medal", "To best -2.27", "To par +0.01"});
            pressAll(menu, keys);
            const MenuLayout layout = MenuLayout::of(menu, size[0], size[1]);
            const common::hud::ScreenRect window{0, 0, float(size[0]), float(size[1])};
            const std::string where = "\"" + keys + "\" at " + std::to_string(size[0]);
            EXPECT_TRUE(layout.panel().inside(window)) << where;
            // The results leave the finish screen's "Finish!" and points above them in view.
            // Every screen leaves "Paused" (or the finish screen's lines) above it in view, and a short
            // list whole.
            const float top = from == Opened::Main ? float(size[1] * 2 / 3) : float(size[1] / 2 - 60);
            EXPECT_LE(layout.panel().y + layout.panel().height, top) << where;
            if (menu.items().size() <= std::size_t(MenuLayout::kMaxRows)) {
                EXPECT_EQ(layout.rows().size(), menu.items().size()) << where;
            }
            EXPECT_TRUE(layout.title().inside(layout.panel())) << where;
            EXPECT_GE(layout.glyphSize(), 10) << where;
            EXPECT_GE(layout.glyphSize(), previousGlyph) << where;
            previousGlyph = layout.glyphSize();
            ASSERT_FALSE(layout.rows().empty()) << where;
            bool highlightShown = false;
            for (std::size_t i = 0; i < layout.rows().size(); ++i) {
                const auto& row = layout.rows()[i];
                EXPECT_TRUE(row.area.inside(layout.panel())) << where << " row " << row.index;
                const common::menu::MenuItem item = menu.items()[row.index];
                EXPECT_LE(float((item.label.size() + item.value.size() + 1) * layout.glyphSize()),
                          row.area.width)
                    << where << " " << item.label;
                EXPECT_LT(row.area.y + row.area.height, layout.title().y + 0.5f) << where;
                if (i > 0) {
                    EXPECT_FALSE(row.area.overlaps(layout.rows()[i - 1].area)) << where;
                }
                EXPECT_EQ(layout.rowAt(row.area.x + row.area.width / 2, row.area.y + row.area.height / 2),
                          row.index);
                highlightShown |= row.index == menu.highlighted();
            }
            EXPECT_TRUE(highlightShown) << where;
            const float lastDetail =
                layout.detailTop() - float(menu.details().size()) * layout.detailSize() * 1.4f;
            EXPECT_GE(lastDetail + 0.5f, layout.panel().y) << where;
            EXPECT_LE(layout.detailTop(), layout.rows().back().area.y) << where;
            for (const std::string& line : menu.details()) {
                EXPECT_LE(layout.detailX() + float(line.size() * layout.detailSize()),
                          layout.panel().x + layout.panel().width - layout.padding() + 0.5f)
                    << where << " " << line;
            }
        }
    }
}
