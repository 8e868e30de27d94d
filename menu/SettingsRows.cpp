#include "menu/SettingsRows.h"

#include <algorithm>

namespace common::menu {
namespace {

const char* onOff(bool on) {
    return on ? "on" : "off";
}

// The next of `count` values around a circle.
int around(int value, int direction, int count) {
    return ((value + direction) % count + count) % count;
}

}  // namespace

const char* SettingsRows::label(int row) {
    static const char* const kLabels[kCount] = {"Quality",     "Sound",      "Volume",
                                                "Guidance",    "Ghost",      "Invert pitch",
                                                "Full screen", "Frame rate", "Slow frame hint"};
    return row >= 0 && row < kCount ? kLabels[row] : "";
}

std::string SettingsRows::value(const progress::Settings& settings, int row) {
    switch (row) {
        case Quality:
            return app::QualityPreset::name(settings.quality);
        case Sound:
            return onOff(settings.sound);
        case Volume:
            return std::to_string(settings.volume) + " %";
        case Guidance:
            return onOff(settings.guidance);
        case Ghost:
            return settings.ghost == progress::GhostChoice::Off      ? "off"
                   : settings.ghost == progress::GhostChoice::MyBest ? "my best"
                                                                     : "par";
        case InvertPitch:
            return onOff(settings.invertPitch);
        case FullScreen:
            return onOff(settings.fullScreen);
        case FrameRate:
            return onOff(settings.showFrameRate);
        case SlowHint:
            return onOff(settings.frameRateHint);
        default:
            return "";
    }
}

void SettingsRows::step(progress::Settings& settings, int row, int direction, bool wrap) {
    switch (row) {
        case Quality:
            settings.quality =
                static_cast<app::Quality>(around(static_cast<int>(settings.quality), direction, 3));
            break;
        case Sound:
            settings.sound = !settings.sound;
            break;
        case Volume: {
            const int next = settings.volume + direction * kVolumeStep;
            settings.volume = wrap && next > progress::Settings::kMaxVolume
                                  ? 0
                                  : std::clamp(next, 0, progress::Settings::kMaxVolume);
            break;
        }
        case Guidance:
            settings.guidance = !settings.guidance;
            break;
        case Ghost:
            settings.ghost =
                static_cast<progress::GhostChoice>(around(static_cast<int>(settings.ghost), direction, 3));
            break;
        case InvertPitch:
            settings.invertPitch = !settings.invertPitch;
            break;
        case FullScreen:
            settings.fullScreen = !settings.fullScreen;
            break;
        case FrameRate:
            settings.showFrameRate = !settings.showFrameRate;
            break;
        case SlowHint:
            settings.frameRateHint = !settings.frameRateHint;
            break;
        default:
            break;
    }
}

}  // namespace common::menu
