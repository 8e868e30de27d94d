#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace common::app {

// Window settings read once from config.txt at start-up.
struct Config {
    static constexpr std::int32_t kDefaultWidth = 800;
    static constexpr std::int32_t kDefaultHeight = 600;

    std::int32_t width = kDefaultWidth;
    std::int32_t height = kDefaultHeight;
    bool fullscreen = false;

    // Reads the file; a file that cannot be opened gives the defaults. Prints nothing.
    static Config readFile(const std::string& path);
    // Reads the key lines "WIDTH", "HEIGHT" (each followed by its value line) and "F".
    // A dimension that is missing, has no number, is not positive or does not fit 32 bits
    // falls back to its default, since every user of the size needs a positive one.
    static Config read(std::istream& in);
};

}  // namespace common::app
