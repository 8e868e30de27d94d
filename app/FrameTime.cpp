#include "app/FrameTime.h"

#include <cstdio>

namespace common::app {

double clampFrameTime(double dt) {
    return dt > kMaxFrameTime ? kMaxFrameTime : dt;
}

double frameRate(double dt) {
    return dt > 1.0 / kMaxFrameRate ? 1.0 / dt : kMaxFrameRate;
}

std::string frameRateTitle(double dt) {
    char title[32];
    std::snprintf(title, sizeof title, " %.2f", frameRate(dt));
    return title;
}

}  // namespace common::app
