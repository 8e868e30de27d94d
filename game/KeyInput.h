#pragma once

namespace common::scene {

// Arrow-key codes as GLFW 3 reports them.
namespace keys {
constexpr int kRight = 262;
constexpr int kLeft = 263;
constexpr int kDown = 264;
constexpr int kUp = 265;
}  // namespace keys

// Polled keyboard state. The game reads the arrow keys through this so that tests and the
// autopilot can hold keys without a window.
class KeyInput {
  public:
    virtual ~KeyInput() = default;
    // True while the key is held, or once after a press released before this poll.
    virtual bool isKeyDown(int key) = 0;
    // How far the key is held, 0 to 1: a key is held fully or not at all, a gamepad's stick in between.
    virtual float amount(int key) { return isKeyDown(key) ? 1.0f : 0.0f; }
};

}  // namespace common::scene
