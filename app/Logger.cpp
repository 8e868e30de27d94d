#include "app/Logger.h"

#include <cstdio>

namespace common::app {

Logger& Logger::instance() {
    static Logger logger;
    return logger;
}

void Logger::debug(const std::string& message) const {
    if (level_ == kDebugLevel) {
        std::printf("Debug: %s\n", message.c_str());
    }
}

void Logger::line(const std::string& message) const {
    std::printf("%s\n", message.c_str());
}

void Logger::warning(const std::string& message) const {
    std::fprintf(stderr, "%s\n", message.c_str());
}

}  // namespace common::app
