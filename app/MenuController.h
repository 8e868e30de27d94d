#pragma once

#include "menu/Menu.h"
#include "progress/RecordStore.h"

struct GLFWwindow;

namespace common::scene {
class SceneController;
}

namespace common::app {

class CommandRunner;
class GameSession;
class GlfwKeyInput;
class GameWindow;
class Renderer;

// The menu in the running game: it opens over the frozen picture whenever the game is paused (P, the
// pad's Start, --menu) and as the results screen after a finish or a crash; while it shows, the menu
// keys, pad buttons and the mouse go to it and the arrows steer nothing. What the player chooses is
// carried out here through the command runner and the session, so every change prints the line its
// key prints.
class MenuController {
  public:
    MenuController(Renderer& renderer, GameSession& session, CommandRunner& commands, GameWindow& window,
                   GlfwKeyInput& keys, scene::SceneController& scene);

    // Routes the mouse of `window` to this controller.
    void listenToMouse(GLFWwindow* window);
    // A key event (GLFW key and action); true when the menu took it.
    bool onKey(int key, int action);
    // A pad button that went down; true when the menu took it.
    bool onPadButton(int button);
    // The pointer at window coordinates (x right, y down); a click of the left button.
    void onCursor(double x, double y);
    void onClick();
    // Once a frame, before the game's update: the menu follows the game (opens on a pause, a finish or
    // a crash; closes when the game goes on without it).
    void update();
    // Pauses the game (which opens the menu) once its first frame has placed the scene.
    void pauseAtStart() { pauseAtStart_ = true; }

    const menu::Menu& menu() const { return menu_; }
    bool isOpen() const { return menu_.isOpen(); }

  private:
    bool press(menu::MenuKey key);
    void carryOut(const menu::MenuAction& action);
    void open(bool results);
    void leavePause();
    void loadCourse(int index);
    void deleteRecord(int index);
    void refreshCourses();
    void fillResults(bool finished);
    bool raceOver() const;
    void followStick();

    Renderer& renderer_;
    GameSession& session_;
    CommandRunner& commands_;
    GameWindow& window_;
    GlfwKeyInput& keys_;
    scene::SceneController& scene_;
    progress::RecordStore records_;
    menu::Menu menu_;
    // The results screen shows once per finished or crashed run.
    bool resultsShown_ = false;
    bool pauseAtStart_ = false;
    double cursorX_ = -1.0;
    double cursorY_ = -1.0;
    // The stick's (or d-pad's) last vertical and sideways direction: -1, 0 or 1.
    int stickVertical_ = 0;
    int stickSideways_ = 0;
};

}  // namespace common::app
