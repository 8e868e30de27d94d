#include "menu/TimeText.h"

#include <cmath>
#include <cstdio>

namespace common::menu {

std::string TimeText::clock(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0) {
        return "-:--.--";
    }
    const long long hundredths = std::llround(seconds * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

std::string TimeText::difference(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", seconds);
    return text;
}

}  // namespace common::menu
