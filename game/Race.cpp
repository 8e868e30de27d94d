#include "game/Race.h"

#include <utility>

namespace common::scene {

std::vector<glm::mat4> RaceCourse::ringTransforms() const {
    std::vector<glm::mat4> transforms;
    for (const Ring& ring : rings) {
        transforms.push_back(ring.transform);
    }
    return transforms;
}

Race::Race(RaceCourse course, const HeightMap* ground)
    : course_(std::move(course)), craft_(course_.start), rules_(ground) {
    for (const RaceCourse::Ring& ring : course_.rings) {
        gates_.emplace_back(ring.transform);
        rules_.addRing(&gates_.back(), ring.finish);
    }
}

bool Race::advancesNow() const {
    return phase_.sceneAdvances(rules_.running);
}

GameEvents Race::advance(double dt, const InputFrame& input) {
    GameEvents events = std::exchange(pending_, {});
    const GameEvents countdown = phase_.tick(dt);
    events.insert(events.end(), countdown.begin(), countdown.end());
    if (!advancesNow()) {
        return events;
    }
    craft_.fly(dt, input);
    const GameEvents found = rules_.checkCollisions(craft_);
    // The step just flown counts on the race clock before its captures are stamped.
    phase_.sceneAdvanced(dt);
    for (GameEvent event : found) {
        event.time = phase_.raceTime;
        events.push_back(event);
    }
    return events;
}

void Race::frameShown() {
    if (phase_.countdownActive) {
        phase_.countdownDrawn(phase_.countdownTimer > GamePhase::kCountdownEnd);
    }
    if (rules_.finished) {
        phase_.finishDrawn();
    }
}

void Race::placeCraft(const glm::vec3& position) {
    glm::mat4 pose = craft_.pose();
    pose[3] = glm::vec4(position, 1.0f);
    craft_.setPose(pose);
    craft_.position = position;
    craft_.previousPosition = position;
}

void Race::restart() {
    craft_.setPose(course_.start);
    craft_.resetFlight();
    rules_.restart();
    phase_.restart();
    pending_.push_back({GameEventType::Restarted, 0, 0.0});
}

}  // namespace common::scene
