#pragma once

#include <vector>

#include "game/KeyInput.h"
#include "input/InputState.h"

struct GLFWwindow;

namespace common::app {

// The keyboard of the game window (sticky keys are on, so a short press is seen once) and the first
// gamepad GLFW knows, together: an arrow is held as far as either holds it. A pad plugged in or out
// between two polls is simply there or not.
class GlfwKeyInput : public common::scene::KeyInput {
  public:
    explicit GlfwKeyInput(GLFWwindow* window) : window_(window) {}
    bool isKeyDown(int key) override;
    float amount(int key) override;

    // Reads the pad once per frame. Returns the buttons (GLFW_GAMEPAD_BUTTON_*) that went down since
    // the last poll.
    std::vector<int> pollPad();
    const input::InputState& pad() const { return pad_; }
    // While the menu shows, the keys and the pad steer nothing (the menu reads them itself).
    void blockSteering(bool blocked) { blocked_ = blocked; }

  private:
    GLFWwindow* window_;
    input::PadState padButtons_;
    input::InputState pad_;
    bool blocked_ = false;
};

}  // namespace common::app
