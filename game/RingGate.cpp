#include "game/RingGate.h"

#include "game/Player.h"

namespace common::scene {

bool RingGate::collides(const Player& player, bool isFinish) const {
    return ringCapturesStep(pose, player.previousPosition, player.position,
                            isFinish ? kFinishRadius : kRingRadius);
}

}  // namespace common::scene
