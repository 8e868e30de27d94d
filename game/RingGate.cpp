#include "game/RingGate.h"

#include "game/CraftFlight.h"

namespace common::scene {

bool RingGate::collides(const CraftFlight& player, bool isFinish) const {
    return ringCapturesStep(pose, player.previousPosition, player.position,
                            isFinish ? kFinishRadius : kRingRadius);
}

}  // namespace common::scene
