#include "app/FrameTime.h"

#include <cstdio>

namespace common::app {

double clampFrameTime(double dt) {
    return dt > kMaxFrameTime ? kMaxFrameTime : dt;
}

std::string frameRateTitle(double dt) {
    char title[32];
    std::snprintf(title, sizeof title, " %.2f", 1.0 / dt);
    return title;
}

}  // namespace common::app
