#include "app/GameWindow.h"

#include <stdexcept>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/ContextHints.h"

namespace common::app {

GameWindow::GameWindow(int width, int height, bool fullScreen, int samples)
    : windowedWidth_(width), windowedHeight_(height) {
    if (!glfwInit()) {
        throw std::runtime_error("Failed to initialize GLFW");
    }
    setContextHints(samples);
    GLFWmonitor* monitor = fullScreen ? glfwGetPrimaryMonitor() : nullptr;
    window_ = glfwCreateWindow(width, height, "Skyrings", monitor, nullptr);
    if (!window_) {
        glfwTerminate();
        throw std::runtime_error(
            "Failed to open GLFW window. If you have an Intel GPU, they are not 3.3 compatible. Try the 2.1 "
            "version of the tutorials.");
    }
    glfwMakeContextCurrent(window_);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        throw std::runtime_error("Failed to initialize GLEW");
    }
    // GLEW's probing leaves a stale GL_INVALID_ENUM on core contexts; nothing else reads it.
    glGetError();
    glfwSetInputMode(window_, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwGetWindowPos(window_, &windowedX_, &windowedY_);
}

bool GameWindow::fullScreen() const {
    return glfwGetWindowMonitor(window_) != nullptr;
}

void GameWindow::toggleFullScreen() {
    if (fullScreen()) {
        glfwSetWindowMonitor(window_, nullptr, windowedX_, windowedY_, windowedWidth_, windowedHeight_,
                             GLFW_DONT_CARE);
        return;
    }
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode) {
        return;
    }
    glfwGetWindowPos(window_, &windowedX_, &windowedY_);
    glfwGetWindowSize(window_, &windowedWidth_, &windowedHeight_);
    glfwSetWindowMonitor(window_, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

}  // namespace common::app
