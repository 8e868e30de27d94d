#pragma once

#include <string>
#include <vector>

#include "menu/MenuTypes.h"
#include "progress/Settings.h"

namespace common::menu {

// The game's menu as a model: which screen shows, its rows and the highlighted one, and what each
// key does there. Up and Down move the highlight over the rows that can be chosen and wrap round at
// the ends; Choose (Return, pad A) chooses; Left and Right change a setting; Back (Backspace, pad B)
// goes back one screen and, from the first, closes the menu; Close (P, Start) closes it from anywhere.
// Choices that concern the game come back as MenuActions for the app layer to carry out. GL-free.
class Menu {
  public:
    // The pause menu's rows, in order.
    enum MainRow { Resume, Restart, Courses, Settings, Records, Controls, Quit, kMainRows };

    bool isOpen() const { return !stack_.empty(); }
    // The pause menu, or the results screen after a finish (`finished`) or a crash.
    void openMain();
    void openResults(bool finished);
    void close() { stack_.clear(); }

    Screen screen() const;
    std::string title() const;
    std::vector<MenuItem> items() const;
    // -1 when the screen has nothing to choose.
    int highlighted() const;
    // Lines about the highlighted row (a course's figures, a record's splits) or the screen (results).
    std::vector<std::string> details() const;

    MenuAction press(MenuKey key);
    // The mouse: over a row highlights it (rows that cannot be chosen are ignored); a click chooses.
    void hover(int row);
    MenuAction click(int row);

    void setCourses(std::vector<CourseEntry> courses);
    const std::vector<CourseEntry>& courses() const { return courses_; }
    void setSettings(const progress::Settings& settings) { settings_ = settings; }
    const progress::Settings& settings() const { return settings_; }
    // The lines the results screen shows above its choices.
    void setResultLines(std::vector<std::string> lines) { resultLines_ = std::move(lines); }

  private:
    struct Level {
        Screen screen;
        int row;
        // The course a delete asks about.
        int course = -1;
    };

    Level& top() { return stack_.back(); }
    const Level& top() const { return stack_.back(); }
    void push(Screen screen, int course = -1);
    MenuAction back();
    MenuAction choose();
    MenuAction chooseMain(int row);
    MenuAction chooseResults(int row);
    MenuAction chooseConfirm(int row);
    MenuAction change(int direction, bool wrap);
    void move(int direction);
    bool enabled(int row) const;
    MenuAction closing(MenuAction action);

    std::vector<Level> stack_;
    bool finished_ = false;
    std::vector<CourseEntry> courses_;
    progress::Settings settings_;
    std::vector<std::string> resultLines_;
};

}  // namespace common::menu
