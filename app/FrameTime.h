#pragma once

#include <string>

namespace common::app {

// The longest step the simulation takes: the float 0.04 widened to double (0.039999999105930328),
// so a slow frame slows the game down instead of letting it jump.
constexpr double kMaxFrameTime = static_cast<double>(0.04f);

double clampFrameTime(double dt);

// Window title for a frame of dt seconds: " %.2f" of the frame rate.
std::string frameRateTitle(double dt);

}  // namespace common::app
