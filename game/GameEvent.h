#pragma once

#include <vector>

namespace common::scene {

// What the game rules report about one frame. Consumers (sound, records, HUD) read these and never
// reach back into the rules.
enum class GameEventType {
    CountdownTick,  // a countdown number appeared: `index` is 3, 2, 1 or 0 (go)
    RingCaptured,   // a ring was flown through: `index` is its place in course order
    Finished,       // the finish ring was reached: the game is won
    Crashed,        // the craft touched the ground: "GAME OVER"
    Restarted,      // a new game begins (R): every ring is back, the countdown starts again
};

struct GameEvent {
    GameEventType type;
    int index = 0;
    // Seconds since the countdown ended (0 before it has).
    double time = 0.0;
};

using GameEvents = std::vector<GameEvent>;

}  // namespace common::scene
