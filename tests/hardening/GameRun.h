#pragma once

#include <cstdlib>
#include <ostream>
#include <string>

#include "tests/support/GameProcess.h"

// Small helpers shared by the hardening tests that drive the real game.
namespace hardening {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};

inline std::ostream& operator<<(std::ostream& out, const Size& size) {
    return out << size.width << " x " << size.height;
}

// The window's size as the X server reports it (xwininfo); 0 x 0 when it cannot be read.
inline Size windowSize(const std::string& window) {
    const std::string info = testsupport::runCommand("xwininfo -id " + window + " 2>/dev/null");
    auto field = [&](const std::string& name) {
        const auto at = info.find(name);
        return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + name.size());
    };
    return {field("Width: "), field("Height: ")};
}

// Sends a key press and release to the window itself (XSendEvent), so it arrives even while a test
// running in parallel on the same display holds the keyboard focus.
inline void pressKey(const std::string& window, const std::string& key) {
    testsupport::runCommand("xdotool key --window " + window + " " + key + " 2>/dev/null");
}

// The driver's debug messages in the game's output ("OpenGL Error: ..."), or "" when there are none.
inline std::string openGlErrors(const std::string& out) {
    const auto at = out.find("OpenGL Error: ");
    return at == std::string::npos ? std::string() : out.substr(at, 2000);
}

}  // namespace hardening
