#pragma once

#include "game/KeyInput.h"

struct GLFWwindow;

namespace common::app {

// Key polling on the game window (sticky keys are on, so a short press is seen once).
class GlfwKeyInput : public common::scene::KeyInput {
  public:
    explicit GlfwKeyInput(GLFWwindow* window) : window_(window) {}
    bool isKeyDown(int key) override;

  private:
    GLFWwindow* window_;
};

}  // namespace common::app
