#pragma once

#include <cstdint>

struct GLFWwindow;

namespace common::app {

// The application singleton that owns the window and the frame: start-up, per-frame update and
// draw, and the run-time switches flipped by the keyboard commands. Created on first use by the
// entry point and kept until the process ends.
class Renderer {
  public:
    static Renderer& instance();

    // Reads config.txt, opens the window (or ends the process), registers the key callback and
    // sets the fixed GL state.
    void init();
    void update(double dt);
    void draw();
    void onKey(int key, int action);
    void shutdown() {}

    GLFWwindow* window() const { return window_; }

    std::int32_t height = 0;
    std::int32_t width = 0;
    bool fullscreen = false;

  private:
    Renderer();
    void createWindow();

    GLFWwindow* window_ = nullptr;
};

}  // namespace common::app
