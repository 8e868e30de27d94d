#include "game/GameRules.h"

#include "game/CollisionObject.h"
#include "game/CraftFlight.h"
#include "terrain/HeightMap.h"

namespace common::scene {

void GameRules::addRing(CollisionObject* ring, bool isFinish) {
    course.push_back({ring, isFinish});
}

GameEvents GameRules::checkCollisions(const CraftFlight& player) {
    GameEvents events;
    for (bool finishPass : {false, true}) {
        for (std::size_t i = 0; i < course.size(); ++i) {
            CourseRing& entry = course[i];
            if (entry.captured || entry.isFinish != finishPass || !entry.ring->collides(player, finishPass)) {
                continue;
            }
            entry.captured = true;
            score += finishPass ? kFinishPoints : kRingPoints;
            events.push_back({GameEventType::RingCaptured, static_cast<int>(i)});
            if (finishPass && !finished) {
                finished = true;
                events.push_back({GameEventType::Finished, static_cast<int>(i)});
            }
        }
    }
    if (ground) {
        altitude = ground->altitude(player.position.x, player.position.y, player.position.z);
    }
    if (altitude <= 0.0f && running) {
        running = false;
        events.push_back({GameEventType::Crashed, 0});
    }
    return events;
}

void GameRules::restart() {
    score = 0;
    finished = false;
    running = true;
    for (CourseRing& entry : course) {
        entry.captured = false;
    }
}

bool GameRules::copyProgress(const GameRules& other) {
    score = other.score;
    finished = other.finished;
    running = other.running;
    altitude = other.altitude;
    bool changed = false;
    for (std::size_t i = 0; i < course.size() && i < other.course.size(); ++i) {
        changed |= course[i].captured != other.course[i].captured;
        course[i].captured = other.course[i].captured;
    }
    return changed;
}

std::vector<CollisionObject*> GameRules::remainingRings() const {
    std::vector<CollisionObject*> rings;
    for (const CourseRing& entry : course) {
        if (!entry.captured && !entry.isFinish) {
            rings.push_back(entry.ring);
        }
    }
    return rings;
}

std::optional<std::size_t> GameRules::nextRing() const {
    for (std::size_t i = 0; i < course.size(); ++i) {
        if (!course[i].captured) {
            return i;
        }
    }
    return std::nullopt;
}

std::vector<CollisionObject*> GameRules::remainingFinishRings() const {
    std::vector<CollisionObject*> rings;
    for (const CourseRing& entry : course) {
        if (!entry.captured && entry.isFinish) {
            rings.push_back(entry.ring);
        }
    }
    return rings;
}

}  // namespace common::scene
