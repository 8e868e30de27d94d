#pragma once

#include <cstddef>
#include <vector>

#include <glm/glm.hpp>

#include "game/KeyInput.h"

namespace common::scene {

class CraftFlight;

// Flies the course for the demo and the tests: it holds the arrow keys that take the craft through
// every ring in course order and then through the finish (the last transform). It sees only the
// ring transforms and the craft's state, as a player at the keyboard would.
//
// The planned line is a smooth curve from where the craft starts through every ring centre, leaving
// each ring along its axis. Each frame the autopilot finds the nearest point of that line, asks for a
// flight direction along the line plus a pull back onto it, works out the nose attitude that gives
// that direction despite the constant sink, and turns towards it the only ways the craft can: roll
// the error into its pitch plane, then pitch; with the nose on target it levels the wings.
//
// Call steer() once per frame before the scene update that polls the keys. A jump of the craft
// (a restart) starts the course again from ring 0.
class Autopilot : public KeyInput {
  public:
    explicit Autopilot(std::vector<glm::mat4> ringTransforms);

    // Decides the keys for the coming update from the craft's state and the frame time.
    void steer(const CraftFlight& craft, double dt);
    bool isKeyDown(int key) override;

    // Index of the ring being flown to; ringCount() once the finish has been crossed.
    std::size_t nextRing() const { return next; }
    std::size_t ringCount() const { return rings.size(); }
    // How far the craft is from the planned line (world units), as of the last steer().
    float crossTrackError() const { return lastCrossTrack; }

  private:
    struct Ring {
        glm::vec3 centre;
        glm::vec3 axis;    // unit, pointing along the course
        float radius;      // capture radius
        float arc = 0.0f;  // where the line crosses it, as arc length from the start
    };
    struct PathPoint {
        glm::vec3 position;
        float arc;
    };

    void plan(const glm::vec3& start, const glm::vec3& heading);
    void appendLeg(const glm::vec3& from, const glm::vec3& fromDirection, const glm::vec3& to,
                   const glm::vec3& toDirection);
    void advancePastCrossedRings(const glm::vec3& position);
    // Nearest point of the line near the craft's progress: its arc length.
    float nearestArc(const glm::vec3& position);
    glm::vec3 pointAt(float arc) const;
    glm::vec3 desiredNose(const CraftFlight& craft, const glm::vec3& flightDirection) const;
    glm::vec3 tangentAt(float arc) const;
    // `turn`: how the wanted nose will change over the next moments.
    void turnTowards(const CraftFlight& craft, const glm::vec3& nose, const glm::vec3& turn, double dt);

    std::vector<Ring> rings;
    std::vector<PathPoint> path;
    std::size_t next = 0;
    std::size_t pathCursor = 0;
    bool planned = false;
    glm::vec3 lastPosition{0.0f};
    float lastCrossTrack = 0.0f;

    // Attitude state kept between frames so small errors do not make the craft rock.
    bool aligned = false;
    bool pullRegime = true;

    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
};

}  // namespace common::scene
