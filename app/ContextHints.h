#pragma once

namespace common::app {

// The window hints of every context the game's code runs in: the game's window, the GL tests' hidden
// window and the benchmarks'. Four samples unless a quality preset asks for fewer, OpenGL 3.3 core, a 32-bit
// depth buffer, no stencil, and a debug context so the driver reports real errors through the debug output.
// Call after glfwInit and before glfwCreateWindow; visibility is the caller's.
void setContextHints(int samples = 4);

}  // namespace common::app
