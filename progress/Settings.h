#pragma once

#include "app/QualityPreset.h"

namespace common::progress {

// Whose run the ghost craft replays: none, the player's best on the course, or the autopilot's par
// flight shipped with the game.
enum class GhostChoice { Off, MyBest, Par };

// What the player sets in the menu and keeps between games (settings.json). The defaults are the
// game as it starts without the file. GL-free.
struct Settings {
    static constexpr int kMaxVolume = 100;

    app::Quality quality = app::Quality::High;
    bool sound = true;
    // Percent of full loudness, 0 to kMaxVolume.
    int volume = kMaxVolume;
    bool guidance = true;
    GhostChoice ghost = GhostChoice::MyBest;
    // Up on the stick (or the up arrow) noses the craft up instead of down.
    bool invertPitch = false;
    bool fullScreen = false;
    bool showFrameRate = false;
    // The on-screen suggestion to lower the quality when the frame rate stays low.
    bool frameRateHint = true;

    bool operator==(const Settings& other) const;
    bool operator!=(const Settings& other) const { return !(*this == other); }
};

}  // namespace common::progress
