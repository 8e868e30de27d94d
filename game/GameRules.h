#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "game/GameEvent.h"

namespace common::scene {

class CollisionObject;
class HeightMap;
class CraftFlight;

// The rules of one game, apart from anything drawn: which rings still score, the score, the finish,
// the craft's altitude over the ground and the crash. Plain state; the scene controller holds one
// and mirrors its figures in the fields the renderer and the HUD read.
class GameRules {
  public:
    static constexpr std::int32_t kRingPoints = 50;
    static constexpr std::int32_t kFinishPoints = 100;
    static constexpr float kStartAltitude = 100.0f;

    // The ground the altitude is measured against (not owned; may be null: no ground, no crash).
    explicit GameRules(const HeightMap* ground = nullptr) : ground(ground) {}

    // Adds a ring of the course; call in course order (its index in the events is its place).
    void addRing(CollisionObject* ring, bool isFinish);

    // One collision pass after the scene has advanced: every ring still in the lists is asked once
    // (ordinary rings first, then finish rings); a ring the craft passes scores and leaves its list.
    // Then the altitude over the ground, and the crash at altitude 0. The events' times are left 0
    // for the caller, which keeps the clock, to stamp.
    GameEvents checkCollisions(const CraftFlight& player);

    // A new game: score 0, flags back, every ring scores again.
    void restart();
    // Takes the figures and the captured rings of `other`, the same course's rules kept elsewhere
    // (ring by ring in course order). Returns whether a ring changed.
    bool copyProgress(const GameRules& other);

    // The rings still to capture, in course order.
    std::vector<CollisionObject*> remainingRings() const;
    std::vector<CollisionObject*> remainingFinishRings() const;
    std::size_t ringCount() const { return course.size(); }
    // The place in the course of the first ring not yet captured (the finish included); none once
    // every ring is.
    std::optional<std::size_t> nextRing() const;

    std::int32_t score = 0;
    bool finished = false;
    bool running = true;
    float altitude = kStartAltitude;

  private:
    struct CourseRing {
        CollisionObject* ring;
        bool isFinish;
        bool captured = false;
    };

    const HeightMap* ground;
    std::vector<CourseRing> course;
};

}  // namespace common::scene
