#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "game/Autopilot.h"
#include "game/GameRules.h"
#include "game/Player.h"
#include "game/RingGate.h"
#include "terrain/HeightMap.h"

namespace common::scene {

// How one flight of a course ended.
struct FlightResult {
    bool finished = false;
    bool crashed = false;
    // Race time: the sum of the frame steps flown.
    double seconds = 0.0;
    std::int32_t score = 0;
    // The lowest altitude over the ground met on the way (as the rules measure it).
    float lowestAltitude = 1e9f;
};

// A course flown by the autopilot without a window: the scene file's craft start and rings, scored by
// the game's rules over the course's height map, frame by frame at a fixed step. The par-time tool and
// the flyability tests use it. Loads everything in the constructor; throws std::runtime_error (or the
// height map's CImgIOException) when a file cannot be read.
class CourseFlight {
  public:
    static constexpr double kTimeLimit = 300.0;

    CourseFlight(const std::string& scenePath, const std::string& heightMapPath,
                 float maxTerrainHeight = 100.0f);

    // A fresh flight from the start with a new autopilot, to the finish, a crash or the time limit.
    FlightResult fly(double dt);
    // Goes on flying from where the craft is, with the same autopilot, until the finish, a crash, the
    // time limit (counted from this call) or until `stop` says so.
    FlightResult flyOn(
        double dt, const std::function<bool()>& stop = [] { return false; });
    // The game's restart: the craft back at the start, every ring scoring again. The autopilot is kept
    // and notices the jump by itself.
    void restart();

    std::size_t ringCount() const { return ringCount_; }
    std::int32_t fullScore() const;
    const std::vector<glm::mat4>& ringTransforms() const { return ringTransforms_; }
    const GameRules& rules() const { return rules_; }
    Autopilot& pilot() { return *pilot_; }
    Player& craft() { return craft_; }

  private:
    HeightMap ground_;
    std::deque<RingGate> gates_;
    GameRules rules_{&ground_};
    Player craft_;
    glm::mat4 start_{1.0f};
    std::vector<glm::mat4> ringTransforms_;
    std::size_t ringCount_ = 0;
    std::unique_ptr<Autopilot> pilot_;
};

}  // namespace common::scene
