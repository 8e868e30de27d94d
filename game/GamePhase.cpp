#include "game/GamePhase.h"

namespace common::scene {

void GamePhase::tick(double dt) {
    countdownTimer = static_cast<float>(countdownTimer + dt);
}

bool GamePhase::sceneAdvances(bool running) const {
    return countdownActive == warmUpPending && running && !finishShown;
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
    countdownTimer = 0.0f;
}

}  // namespace common::scene
