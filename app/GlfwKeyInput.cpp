#include "app/GlfwKeyInput.h"

#include <GLFW/glfw3.h>

namespace common::app {

bool GlfwKeyInput::isKeyDown(int key) {
    return glfwGetKey(window_, key) == GLFW_PRESS;
}

}  // namespace common::app
