#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

#include "app/QualityPreset.h"

namespace common::app {

// Window settings read once from config.txt at start-up.
struct Config {
    static constexpr std::int32_t kDefaultWidth = 800;
    static constexpr std::int32_t kDefaultHeight = 600;
    // The largest texture and viewport side every OpenGL 4 driver must offer; the scene's render
    // target is window-sized, and X11 cannot even make a window beyond 65535 pixels.
    static constexpr std::int32_t kMaxDimension = 16384;

    std::int32_t width = kDefaultWidth;
    std::int32_t height = kDefaultHeight;
    bool fullscreen = false;
    Quality quality = Quality::High;
    // The value line of a "QUALITY" key that names no preset (the last such line), for the one
    // warning the renderer prints; none when the last value was known.
    std::optional<std::string> unknownQuality;
    // The course to start on ("COURSE" and its value line); empty when the file names none.
    std::string course;

    // Reads the file; a file that cannot be opened gives the defaults. Prints nothing.
    static Config readFile(const std::string& path);
    // Reads the key lines "WIDTH", "HEIGHT", "QUALITY", "COURSE" (each followed by its value line) and "F".
    // A dimension that is missing, has no number, is not positive, does not fit 32 bits or is larger
    // than kMaxDimension falls back to its default, since every user of the size needs a usable one.
    // A "QUALITY" value that names no preset gives "high".
    static Config read(std::istream& in);
};

}  // namespace common::app
