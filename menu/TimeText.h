#pragma once

#include <string>

namespace common::menu {

// Times as the menu writes them. GL-free.
class TimeText {
  public:
    // "1:23.45": minutes, seconds and hundredths; nonsense reads "-:--.--".
    static std::string clock(double seconds);
    // "+1.20" slower, "-0.84" faster.
    static std::string difference(double seconds);
};

}  // namespace common::menu
