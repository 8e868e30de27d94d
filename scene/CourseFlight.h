#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "game/RingGate.h"
#include "terrain/HeightMap.h"

namespace common::scene {

// How one flight over a course ended.
struct CourseFlightResult {
    bool finished = false;
    bool crashed = false;
    // Flown time: the sum of the steps up to and including the one that reached the finish (or crashed).
    double seconds = 0.0;
    int score = 0;
};

// A course flown by the autopilot without a window: the scene file's craft and rings, scored by the
// game's rules over the course's height map, at a fixed step. GL-free; the build's par times and the
// tests use it.
class CourseFlight {
  public:
    // A flight that has not finished by then never will.
    static constexpr double kTimeLimit = 900.0;

    // Throws std::runtime_error when the scene cannot be read or has no craft or no rings, and the
    // height map's exception when the image cannot be read.
    CourseFlight(const std::string& scenePath, const std::string& heightMapPath);

    std::size_t ringCount() const { return ringTransforms.size(); }
    // From the start, steps of `dt` seconds until the finish, a crash or the time limit.
    CourseFlightResult fly(double dt) const;

  private:
    HeightMap ground;
    glm::mat4 start{1.0f};
    std::vector<glm::mat4> ringTransforms;
    std::vector<bool> isFinish;
};

}  // namespace common::scene
