#pragma once

#include <optional>
#include <string>
#include <vector>

#include "game/Medal.h"

namespace common::menu {

// What the player pressed, whichever key, pad button or stick gave it.
enum class MenuKey { Up, Down, Left, Right, Choose, Back, Close };

// The menu's screens. Main and Results are where the menu opens; the others are reached from them.
enum class Screen { Main, Courses, Settings, Records, ConfirmDelete, Controls, Results };

// What a choice asks of the game; the app layer carries it out.
enum class ActionType { None, Resume, Restart, LoadCourse, NextCourse, ChangeSettings, DeleteRecord, Quit };

struct MenuAction {
    ActionType type = ActionType::None;
    // The course (its place in catalogue order) for LoadCourse and DeleteRecord.
    int course = -1;

    bool operator==(const MenuAction& other) const { return type == other.type && course == other.course; }
};

// One row of a screen: its label, the value shown at its right (a setting, a best time), a medal icon
// beside the value, and whether it can be highlighted at all.
struct MenuItem {
    std::string label;
    std::string value;
    scene::Medal medal = scene::Medal::None;
    bool enabled = true;
};

// What the menu shows of one course: the catalogue's figures and the player's record on it.
struct CourseEntry {
    std::string name;
    int rings = 0;
    double length = 0.0;
    double par = 0.0;
    std::optional<double> best;
    scene::Medal medal = scene::Medal::None;
    // The best run's time at each ring, in course order.
    std::vector<double> splits;
    // When the best run was flown ("2026-12-07"); empty when the records do not say.
    std::string date;
    // The course's picture (its height image), empty when there is none.
    std::string picturePath;
    // The name its records are kept under (a player's course adds a hash of its rings).
    std::string recordName;
};

}  // namespace common::menu
