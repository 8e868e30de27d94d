#include "progress/Settings.h"

namespace common::progress {

bool Settings::operator==(const Settings& other) const {
    return quality == other.quality && sound == other.sound && volume == other.volume &&
           guidance == other.guidance && ghost == other.ghost && invertPitch == other.invertPitch &&
           fullScreen == other.fullScreen && showFrameRate == other.showFrameRate &&
           frameRateHint == other.frameRateHint;
}

}  // namespace common::progress
