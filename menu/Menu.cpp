#include "menu/Menu.h"

#include <algorithm>

#include "app/CommandTable.h"
#include "menu/SettingsRows.h"
#include "menu/TimeText.h"

namespace common::menu {
namespace {

const char* const kMainLabels[Menu::kMainRows] = {"Resume",  "Restart",  "Courses", "Settings",
                                                  "Records", "Controls", "Quit"};

// A row with a label only.
MenuItem plain(const char* label) {
    return {label, "", scene::Medal::None, true};
}

std::string bestText(const CourseEntry& course) {
    return course.best ? TimeText::clock(*course.best) : "no record";
}

std::string controlKeys(const app::Command& command) {
    std::string keys = command.keyLabel;
    if (command.padLabel) {
        keys += std::string(" / pad ") + command.padLabel;
    }
    return keys;
}

std::vector<MenuItem> courseItems(const std::vector<CourseEntry>& courses, bool onlyRecords) {
    std::vector<MenuItem> items;
    for (const CourseEntry& course : courses) {
        items.push_back(
            {course.name, bestText(course), course.medal, !onlyRecords || course.best.has_value()});
    }
    return items;
}

std::vector<std::string> courseDetails(const CourseEntry& course) {
    char figures[96];
    std::snprintf(figures, sizeof figures, "%d rings  %.0f units  par %s", course.rings, course.length,
                  TimeText::clock(course.par).c_str());
    std::vector<std::string> lines{figures};
    if (course.best) {
        const char* medal = scene::medalName(course.medal);
        lines.push_back("Best " + TimeText::clock(*course.best) + (*medal ? std::string("  ") + medal : ""));
    }
    return lines;
}

std::vector<std::string> recordDetails(const CourseEntry& course) {
    if (!course.best) {
        return {"No record yet"};
    }
    std::vector<std::string> lines{"Flown " +
                                   (course.date.empty() ? std::string("on an unknown day") : course.date)};
    if (course.splits.empty()) {
        return lines;
    }
    // The splits, a few to a line, as the ring times of the best run.
    std::string line = "Splits";
    for (std::size_t ring = 0; ring < course.splits.size(); ++ring) {
        if (ring > 0 && ring % 4 == 0) {
            lines.push_back(line);
            line = "      ";
        }
        line += " " + TimeText::clock(course.splits[ring]);
    }
    lines.push_back(line);
    return lines;
}

}  // namespace

void Menu::openMain() {
    stack_ = {{Screen::Main, Resume}};
}

void Menu::openResults(bool finished) {
    finished_ = finished;
    stack_ = {{Screen::Results, 0}};
}

void Menu::push(Screen screen, int course) {
    stack_.push_back({screen, 0, course});
    if (!enabled(0)) {
        move(+1);
    }
}

Screen Menu::screen() const {
    return isOpen() ? top().screen : Screen::Main;
}

int Menu::highlighted() const {
    return isOpen() && enabled(top().row) ? top().row : -1;
}

std::string Menu::title() const {
    switch (screen()) {
        case Screen::Main:
            // Under "Paused", which says it.
            return "";
        case Screen::Courses:
            return "Courses";
        case Screen::Settings:
            return "Settings";
        case Screen::Records:
            return "Records";
        case Screen::ConfirmDelete:
            return "Delete the record of " + courses_.at(top().course).name + "?";
        case Screen::Controls:
            return "Controls";
        case Screen::Results:
            // Under "Finish!" or "GAME OVER", which say it.
            return "";
    }
    return "";
}

std::vector<MenuItem> Menu::items() const {
    std::vector<MenuItem> items;
    switch (screen()) {
        case Screen::Main:
            for (const char* label : kMainLabels) {
                items.push_back(plain(label));
            }
            break;
        case Screen::Courses:
            return courseItems(courses_, false);
        case Screen::Records:
            return courseItems(courses_, true);
        case Screen::Settings:
            for (int row = 0; row < SettingsRows::kCount; ++row) {
                items.push_back({SettingsRows::label(row), SettingsRows::value(settings_, row)});
            }
            break;
        case Screen::ConfirmDelete:
            items = {plain("Keep it"), plain("Delete")};
            break;
        case Screen::Controls:
            for (const app::Command& command : app::CommandTable::all()) {
                items.push_back({controlKeys(command), command.help});
            }
            break;
        case Screen::Results:
            items.push_back(plain("Fly again"));
            if (finished_) {
                items.push_back({"Next course", "", scene::Medal::None, courses_.size() > 1});
            }
            items.push_back(plain("Courses"));
            break;
    }
    return items;
}

std::vector<std::string> Menu::details() const {
    const int row = highlighted();
    const bool aboutCourse = row >= 0 && row < static_cast<int>(courses_.size());
    switch (screen()) {
        case Screen::Courses:
            return aboutCourse ? courseDetails(courses_[row]) : std::vector<std::string>{};
        case Screen::Records:
            return aboutCourse ? recordDetails(courses_[row]) : std::vector<std::string>{};
        case Screen::Results:
            return resultLines_;
        case Screen::Settings:
            return {"Left / Right or Return change a value"};
        default:
            return {};
    }
}

bool Menu::enabled(int row) const {
    const std::vector<MenuItem> rows = items();
    return row >= 0 && row < static_cast<int>(rows.size()) && rows[row].enabled;
}

// To the next row that can be chosen, round the ends; nowhere when none can.
void Menu::move(int direction) {
    const auto count = static_cast<int>(items().size());
    int row = top().row;
    for (int tried = 0; tried < count; ++tried) {
        row = ((row + direction) % count + count) % count;
        if (enabled(row)) {
            top().row = row;
            return;
        }
    }
}

MenuAction Menu::press(MenuKey key) {
    if (!isOpen()) {
        return {};
    }
    switch (key) {
        case MenuKey::Up:
            move(-1);
            return {};
        case MenuKey::Down:
            move(+1);
            return {};
        case MenuKey::Left:
            return change(-1, false);
        case MenuKey::Right:
            return change(+1, false);
        case MenuKey::Choose:
            return choose();
        case MenuKey::Back:
            return back();
        case MenuKey::Close:
            return closing({ActionType::Resume});
    }
    return {};
}

void Menu::hover(int row) {
    if (isOpen() && enabled(row)) {
        top().row = row;
    }
}

MenuAction Menu::click(int row) {
    if (!isOpen() || !enabled(row)) {
        return {};
    }
    top().row = row;
    return choose();
}

MenuAction Menu::closing(MenuAction action) {
    close();
    return action;
}

MenuAction Menu::back() {
    if (stack_.size() == 1) {
        return closing({screen() == Screen::Main ? ActionType::Resume : ActionType::None});
    }
    stack_.pop_back();
    return {};
}

MenuAction Menu::change(int direction, bool wrap) {
    if (screen() != Screen::Settings) {
        return {};
    }
    SettingsRows::step(settings_, top().row, direction, wrap);
    return {ActionType::ChangeSettings};
}

MenuAction Menu::choose() {
    const int row = highlighted();
    if (row < 0) {
        return {};
    }
    switch (screen()) {
        case Screen::Main:
            return chooseMain(row);
        case Screen::Courses:
            return closing({ActionType::LoadCourse, row});
        case Screen::Settings:
            return change(+1, true);
        case Screen::Records:
            push(Screen::ConfirmDelete, row);
            return {};
        case Screen::ConfirmDelete:
            return chooseConfirm(row);
        case Screen::Results:
            return chooseResults(row);
        case Screen::Controls:
            return {};
    }
    return {};
}

MenuAction Menu::chooseMain(int row) {
    switch (row) {
        case Resume:
            return closing({ActionType::Resume});
        case Restart:
            return closing({ActionType::Restart});
        case Courses:
            push(Screen::Courses);
            return {};
        case Settings:
            push(Screen::Settings);
            return {};
        case Records:
            push(Screen::Records);
            return {};
        case Controls:
            push(Screen::Controls);
            return {};
        default:
            return closing({ActionType::Quit});
    }
}

MenuAction Menu::chooseResults(int row) {
    const std::string label = items()[row].label;
    if (label == "Fly again") {
        return closing({ActionType::Restart});
    }
    if (label == "Next course") {
        return closing({ActionType::NextCourse});
    }
    push(Screen::Courses);
    return {};
}

// The first row keeps the record, so that a double press of Return deletes nothing.
MenuAction Menu::chooseConfirm(int row) {
    const int course = top().course;
    stack_.pop_back();
    return row == 1 ? MenuAction{ActionType::DeleteRecord, course} : MenuAction{};
}

void Menu::setCourses(std::vector<CourseEntry> courses) {
    courses_ = std::move(courses);
    // A deleted record may leave the highlight on a row that can no longer be chosen.
    if (isOpen() && !enabled(top().row)) {
        move(+1);
    }
}

}  // namespace common::menu
