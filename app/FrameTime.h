#pragma once

#include <string>

namespace common::app {

// The longest step the simulation takes: the float 0.04 widened to double (0.039999999105930328),
// so a slow frame slows the game down instead of letting it jump.
constexpr double kMaxFrameTime = static_cast<double>(0.04f);

double clampFrameTime(double dt);

// Frames per second for a step of dt seconds. Two frames can be stamped with the same time: a step
// of 0 (or below) counts as the highest rate the clock can tell, kMaxFrameRate, not as infinity.
constexpr double kMaxFrameRate = 1.0e6;
double frameRate(double dt);

// Window title for a frame of dt seconds: " %.2f" of the frame rate.
std::string frameRateTitle(double dt);

}  // namespace common::app
