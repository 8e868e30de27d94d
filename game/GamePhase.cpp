#include "game/GamePhase.h"

namespace common::scene {

int GamePhase::countdownNumber(double t) {
    if (t <= 1.0) {
        return 3;
    }
    if (t <= 2.0) {
        return 2;
    }
    return t <= 3.0 ? 1 : 0;
}

GameEvents GamePhase::tick(double dt) {
    if (paused) {
        return {};
    }
    countdownTimer = static_cast<float>(countdownTimer + dt);
    GameEvents events;
    const int number = countdownNumber(countdownTimer);
    if (countdownActive && number != shownNumber) {
        shownNumber = number;
        events.push_back({GameEventType::CountdownTick, number, 0.0});
    }
    return events;
}

void GamePhase::sceneAdvanced(double dt) {
    if (!countdownActive) {
        raceTime += dt;
    }
    warmUpPending = false;
}

bool GamePhase::sceneAdvances(bool running) const {
    return countdownActive == warmUpPending && running && !finishShown && !paused;
}

void GamePhase::countdownDrawn(bool over) {
    if (over) {
        countdownActive = false;
    }
}

void GamePhase::restart() {
    countdownActive = true;
    warmUpPending = true;
    finishShown = false;
    paused = false;
    countdownTimer = 0.0f;
    raceTime = 0.0;
    shownNumber = -1;
}

}  // namespace common::scene
