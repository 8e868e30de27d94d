#pragma once

#include <cstdint>
#include <functional>

namespace common::scene {

class Autopilot;
class Race;

// How one flight of a course ended.
struct FlightResult {
    bool finished = false;
    bool crashed = false;
    // Race time: the finish's time, or the race clock where the flight stopped.
    double seconds = 0.0;
    std::int32_t score = 0;
    // The lowest altitude over the ground met on the way (as the rules measure it).
    float lowestAltitude = 1e9f;
};

// Flies `race` with `pilot` at a fixed step, frame by frame as the game's loop runs it: the warm-up
// step, the countdown, then the flight, the autopilot steering before every step the craft takes.
// Stops at the finish, a crash, `timeLimit` seconds of race time, or when `stop` says so. The par
// time of a course is this flight's time at 1/60 s.
class AutopilotFlight {
  public:
    static constexpr double kParStep = 1.0 / 60.0;
    static constexpr double kTimeLimit = 300.0;

    static FlightResult fly(Race& race, Autopilot& pilot, double dt, double timeLimit = kTimeLimit,
                            const std::function<bool()>& stop = {});
};

}  // namespace common::scene
