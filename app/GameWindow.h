#pragma once

struct GLFWwindow;

namespace common::app {

// The game's window with its OpenGL context: opened once at start-up, switched between full screen
// and the window it was, and never closed before the process ends (GL objects end with the context).
class GameWindow {
  public:
    // Initialises GLFW, opens a window of `width` x `height` (on the primary monitor when
    // `fullScreen`) with a 3.3 core context of `samples` samples, makes it current and initialises
    // GLEW. Throws std::runtime_error with the one line to report when any of that fails.
    GameWindow(int width, int height, bool fullScreen, int samples);
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    GLFWwindow* handle() const { return window_; }
    bool fullScreen() const;
    // Full screen on the primary monitor, or back to where the window was; stays as it is when the
    // monitor cannot say its mode. The framebuffer-size callback follows with the new size.
    void toggleFullScreen();

  private:
    GLFWwindow* window_ = nullptr;
    // Where the window was before it went full screen.
    int windowedX_ = 0;
    int windowedY_ = 0;
    int windowedWidth_ = 0;
    int windowedHeight_ = 0;
};

}  // namespace common::app
