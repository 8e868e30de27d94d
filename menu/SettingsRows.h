#pragma once

#include <string>
#include <vector>

#include "progress/Settings.h"

namespace common::menu {

// The Settings screen's rows over a progress::Settings value: each row's label, its value as shown,
// and the step to the next or previous value. Lists (quality, ghost) and switches wrap round; the
// volume moves in steps of ten and stops at its ends. GL-free.
class SettingsRows {
  public:
    enum Row {
        Quality,
        Sound,
        Volume,
        Guidance,
        Ghost,
        InvertPitch,
        FullScreen,
        FrameRate,
        SlowHint,
        kCount
    };
    static constexpr int kVolumeStep = 10;

    static const char* label(int row);
    static std::string value(const progress::Settings& settings, int row);
    // One step forward (+1) or back (-1) of `row`'s value; Return steps forward and wraps the volume.
    static void step(progress::Settings& settings, int row, int direction, bool wrap = false);
};

}  // namespace common::menu
