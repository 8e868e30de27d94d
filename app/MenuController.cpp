#include "app/MenuController.h"

#include <algorithm>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/CommandRunner.h"
#include "app/GameSession.h"
#include "app/GameWindow.h"
#include "app/GlfwKeyInput.h"
#include "app/Logger.h"
#include "app/Renderer.h"
#include "app/SettingsKeeper.h"
#include "audio/GameAudio.h"
#include "menu/MenuLayout.h"
#include "menu/TimeText.h"
#include "progress/TimeTrial.h"
#include "scene/SceneController.h"

namespace common::app {
namespace {

using menu::ActionType;
using menu::MenuKey;

// Half the stick's travel counts as a press; it must come back before it presses again.
constexpr float kStickPress = 0.5f;

int direction(float positive, float negative) {
    return positive > kStickPress ? 1 : negative > kStickPress ? -1 : 0;
}

MenuController* listening = nullptr;

}  // namespace

MenuController::MenuController(Renderer& renderer, GameSession& session, CommandRunner& commands,
                               GameWindow& window, GlfwKeyInput& keys, scene::SceneController& scene)
    : renderer_(renderer),
      session_(session),
      commands_(commands),
      window_(window),
      keys_(keys),
      scene_(scene),
      records_(progress::RecordStore::defaultPath(),
               [](const std::string& line) { Logger::instance().warning(line); }) {}

void MenuController::listenToMouse(GLFWwindow* window) {
    listening = this;
    glfwSetCursorPosCallback(window, [](GLFWwindow*, double x, double y) { listening->onCursor(x, y); });
    glfwSetMouseButtonCallback(window, [](GLFWwindow*, int button, int action, int) {
        if (button == GLFW_MOUSE_BUTTON_LEFT && action == GLFW_PRESS) {
            listening->onClick();
        }
    });
}

bool MenuController::onKey(int key, int action) {
    if (!menu_.isOpen() || action == GLFW_RELEASE) {
        return false;
    }
    // Held arrows repeat in the menu as in any list; the other keys act once per press.
    switch (key) {
        case GLFW_KEY_UP:
            return press(MenuKey::Up);
        case GLFW_KEY_DOWN:
            return press(MenuKey::Down);
        case GLFW_KEY_LEFT:
            return press(MenuKey::Left);
        case GLFW_KEY_RIGHT:
            return press(MenuKey::Right);
        default:
            break;
    }
    if (action != GLFW_PRESS) {
        return key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER || key == GLFW_KEY_BACKSPACE;
    }
    switch (key) {
        case GLFW_KEY_ENTER:
        case GLFW_KEY_KP_ENTER:
            return press(MenuKey::Choose);
        case GLFW_KEY_BACKSPACE:
            return press(MenuKey::Back);
        case GLFW_KEY_P:
            return press(MenuKey::Close);
        default:
            return false;
    }
}

bool MenuController::onPadButton(int button) {
    if (!menu_.isOpen()) {
        return false;
    }
    switch (button) {
        case GLFW_GAMEPAD_BUTTON_A:
            return press(MenuKey::Choose);
        case GLFW_GAMEPAD_BUTTON_B:
            return press(MenuKey::Back);
        case GLFW_GAMEPAD_BUTTON_START:
            return press(MenuKey::Close);
        default:
            // The d-pad reads as the stick (followStick).
            return false;
    }
}

void MenuController::onCursor(double x, double y) {
    cursorX_ = x;
    cursorY_ = y;
    if (!menu_.isOpen()) {
        return;
    }
    int windowWidth = 0;
    int windowHeight = 0;
    glfwGetWindowSize(window_.handle(), &windowWidth, &windowHeight);
    if (windowWidth <= 0 || windowHeight <= 0) {
        return;
    }
    // Window coordinates to framebuffer pixels, y up, as the layout counts them.
    const double pixelX = x * renderer_.width / windowWidth;
    const double pixelY = renderer_.height - y * renderer_.height / windowHeight;
    const menu::MenuLayout layout = menu::MenuLayout::of(menu_, renderer_.width, renderer_.height);
    menu_.hover(layout.rowAt(static_cast<float>(pixelX), static_cast<float>(pixelY)));
}

void MenuController::onClick() {
    if (!menu_.isOpen()) {
        return;
    }
    const int before = menu_.highlighted();
    onCursor(cursorX_, cursorY_);
    const menu::MenuLayout layout = menu::MenuLayout::of(menu_, renderer_.width, renderer_.height);
    int windowWidth = 0;
    int windowHeight = 0;
    glfwGetWindowSize(window_.handle(), &windowWidth, &windowHeight);
    const double pixelX = cursorX_ * renderer_.width / std::max(windowWidth, 1);
    const double pixelY = renderer_.height - cursorY_ * renderer_.height / std::max(windowHeight, 1);
    const int row = layout.rowAt(static_cast<float>(pixelX), static_cast<float>(pixelY));
    if (row >= 0) {
        carryOut(menu_.click(row));
    } else {
        menu_.hover(before);
    }
}

bool MenuController::press(MenuKey key) {
    carryOut(menu_.press(key));
    return true;
}

void MenuController::update() {
    followStick();
    if (pauseAtStart_ && !session_.phase().warmUpPending) {
        pauseAtStart_ = false;
        commands_.run(CommandId::Pause);
    }
    const bool paused = session_.phase().paused;
    if (!raceOver()) {
        resultsShown_ = false;
    }
    if (!menu_.isOpen()) {
        if (raceOver() && !resultsShown_) {
            resultsShown_ = true;
            open(true);
        } else if (paused) {
            open(false);
        }
    } else if (!paused && !raceOver()) {
        // A key (R, C) started a new game under the menu.
        menu_.close();
    }
    if (menu_.isOpen()) {
        menu_.setSettings(commands_.currentSettings());
    }
    keys_.blockSteering(menu_.isOpen());
}

void MenuController::followStick() {
    const input::InputState& pad = keys_.pad();
    const int vertical = direction(pad.amount(GLFW_KEY_DOWN), pad.amount(GLFW_KEY_UP));
    const int sideways = direction(pad.amount(GLFW_KEY_RIGHT), pad.amount(GLFW_KEY_LEFT));
    if (menu_.isOpen() && vertical != 0 && vertical != stickVertical_) {
        press(vertical > 0 ? MenuKey::Down : MenuKey::Up);
    }
    if (menu_.isOpen() && sideways != 0 && sideways != stickSideways_) {
        press(sideways > 0 ? MenuKey::Right : MenuKey::Left);
    }
    stickVertical_ = vertical;
    stickSideways_ = sideways;
}

bool MenuController::raceOver() const {
    return scene_.finished || !scene_.running;
}

void MenuController::open(bool results) {
    refreshCourses();
    menu_.setSettings(commands_.currentSettings());
    if (results) {
        fillResults(scene_.finished);
        menu_.openResults(scene_.finished);
    } else {
        menu_.openMain();
    }
}

void MenuController::fillResults(bool finished) {
    const std::optional<progress::RunSummary>& summary = session_.timeTrial().summary();
    std::vector<std::string> lines;
    if (!finished || !summary) {
        lines.push_back("Crashed after " + menu::TimeText::clock(session_.phase().raceTime));
        menu_.setResultLines(lines);
        return;
    }
    std::string time = "Time " + menu::TimeText::clock(summary->time);
    if (summary->medal != scene::Medal::None) {
        time += std::string("  ") + scene::medalName(summary->medal) + " medal";
    }
    lines.push_back(time);
    if (summary->previousBest) {
        lines.push_back("To best " + menu::TimeText::difference(summary->time - *summary->previousBest) +
                        (summary->newBest ? "  New best!" : ""));
    } else {
        lines.emplace_back("First record on this course");
    }
    if (session_.course().par > 0.0) {
        lines.push_back("To par " + menu::TimeText::difference(summary->time - session_.course().par));
    }
    menu_.setResultLines(lines);
}

void MenuController::refreshCourses() {
    records_.load();
    std::vector<menu::CourseEntry> entries;
    for (const scene::CourseInfo& course : session_.courses().courses()) {
        menu::CourseEntry entry;
        entry.name = course.name;
        entry.recordName = course.recordName();
        entry.rings = course.rings;
        entry.length = course.length;
        entry.par = course.par;
        entry.picturePath = course.heightMapPath;
        if (const std::optional<progress::CourseRecord> record = records_.course(course.recordName())) {
            entry.best = record->bestTime;
            entry.medal = scene::medalFor(record->bestTime, course.par);
            for (const progress::Split& split : record->splits) {
                entry.splits.push_back(split.time);
            }
            entry.date = record->date;
        }
        entries.push_back(std::move(entry));
    }
    menu_.setCourses(std::move(entries));
}

void MenuController::carryOut(const menu::MenuAction& action) {
    switch (action.type) {
        case ActionType::None:
            break;
        case ActionType::Resume:
            leavePause();
            break;
        case ActionType::Restart:
            leavePause();
            commands_.run(CommandId::Restart);
            break;
        case ActionType::LoadCourse:
            leavePause();
            loadCourse(action.course);
            break;
        case ActionType::NextCourse:
            leavePause();
            commands_.run(CommandId::NextCourse);
            break;
        case ActionType::ChangeSettings:
            // Applied and saved at once.
            renderer_.settings().change(menu_.settings());
            break;
        case ActionType::DeleteRecord:
            deleteRecord(action.course);
            break;
        case ActionType::Quit:
            glfwSetWindowShouldClose(window_.handle(), GLFW_TRUE);
            break;
    }
}

void MenuController::leavePause() {
    if (session_.phase().paused) {
        commands_.run(CommandId::Pause);
    }
}

void MenuController::loadCourse(int index) {
    const std::vector<scene::CourseInfo>& courses = session_.courses().courses();
    if (index >= 0 && index < static_cast<int>(courses.size())) {
        commands_.loadCourse(courses[index].name);
    }
}

void MenuController::deleteRecord(int index) {
    const std::vector<menu::CourseEntry>& courses = menu_.courses();
    if (index < 0 || index >= static_cast<int>(courses.size())) {
        return;
    }
    if (records_.remove(courses[index].recordName)) {
        Logger::instance().debug(" Record of " + courses[index].name + " deleted.");
    }
    session_.timeTrial().reloadBest();
    refreshCourses();
}

}  // namespace common::app
