#include "game/AutopilotFlight.h"

#include <algorithm>

#include "game/Autopilot.h"
#include "game/Race.h"

namespace common::scene {

FlightResult AutopilotFlight::fly(Race& race, Autopilot& pilot, double dt, double timeLimit,
                                  const std::function<bool()>& stop) {
    FlightResult result;
    while (race.phase().raceTime < timeLimit && !(stop && stop())) {
        const bool flies = race.advancesNow();
        if (!flies && !race.phase().countdownActive) {
            break;  // paused or over: nothing will move any more
        }
        if (flies) {
            pilot.steer(race.craft(), dt);
        }
        for (const GameEvent& event : race.advance(dt, InputFrame::from(pilot))) {
            result.finished |= event.type == GameEventType::Finished;
            result.crashed |= event.type == GameEventType::Crashed;
        }
        if (flies) {
            result.lowestAltitude = std::min(result.lowestAltitude, race.rules().altitude);
        }
        race.frameShown();
        if (result.finished || result.crashed) {
            break;
        }
    }
    result.seconds = race.phase().raceTime;
    result.score = race.rules().score;
    return result;
}

}  // namespace common::scene
