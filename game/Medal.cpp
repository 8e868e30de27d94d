#include "game/Medal.h"

#include <cmath>

namespace common::scene {

Medal medalFor(double time, double par) {
    if (!(par > 0.0) || !std::isfinite(par) || !std::isfinite(time) || time < 0.0) {
        return Medal::None;
    }
    if (time <= par * 1.05) {
        return Medal::Gold;
    }
    return time <= par * 1.20 ? Medal::Silver : Medal::Bronze;
}

const char* medalName(Medal medal) {
    switch (medal) {
        case Medal::Gold:
            return "Gold";
        case Medal::Silver:
            return "Silver";
        case Medal::Bronze:
            return "Bronze";
        default:
            return "";
    }
}

}  // namespace common::scene
