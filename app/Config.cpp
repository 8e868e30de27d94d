#include "app/Config.h"

#include <fstream>
#include <sstream>

namespace common::app {
namespace {

// A carriage return before the line feed belongs to the line terminator, not to the line.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

// Formatted integer extraction: leading blanks skipped, digits read up to the first other
// character ("1024px" gives 1024). No number, or one that overflows 32 bits, gives 0.
std::int32_t extractValue(const std::string& line) {
    std::istringstream stream(line);
    std::int32_t value = 0;
    if (!(stream >> value)) {
        return 0;
    }
    return value;
}

std::int32_t usableOr(std::int32_t value, std::int32_t fallback) {
    return value > 0 && value <= Config::kMaxDimension ? value : fallback;
}

}  // namespace

Config Config::readFile(const std::string& path) {
    std::ifstream file(path);
    if (!file.is_open()) {
        return Config{};
    }
    return read(file);
}

Config Config::read(std::istream& in) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    Config config;
    std::string line;
    while (readLine(in, line)) {
        if (line == "F") {
            config.fullscreen = true;
        } else if (line == "HEIGHT") {
            // The following line is the value whatever it holds, even another key.
            std::string value;
            height = readLine(in, value) ? extractValue(value) : 0;
        } else if (line == "WIDTH") {
            std::string value;
            width = readLine(in, value) ? extractValue(value) : 0;
        } else if (line == "QUALITY") {
            std::string value;
            readLine(in, value);
            const std::optional<Quality> quality = QualityPreset::parse(value);
            config.quality = quality.value_or(Quality::High);
            config.unknownQuality = quality ? std::nullopt : std::optional<std::string>(value);
        } else if (line == "COURSE") {
            // Whether the name is a course is the caller's question: it knows the courses.
            if (!readLine(in, config.course)) {
                config.course.clear();
            }
        }
    }
    config.width = usableOr(width, kDefaultWidth);
    config.height = usableOr(height, kDefaultHeight);
    return config;
}

}  // namespace common::app
