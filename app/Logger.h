#pragma once

#include <string>

namespace common::app {

// Console logger shared by every subsystem. Owned by nobody: created on first use, lives until exit.
class Logger {
  public:
    static constexpr int kDebugLevel = 3;

    static Logger& instance();

    // Writes "Debug: <message>\n" to standard output while the level is the debug level.
    void debug(const std::string& message) const;
    // Writes "<message>\n" to standard output whatever the level: a console line of its own.
    void line(const std::string& message) const;
    // Writes "<message>\n" to standard error whatever the level: a problem the game survives, such as
    // a missing optional file or device.
    void warning(const std::string& message) const;

    int level() const { return level_; }

  private:
    Logger() = default;

    int level_ = kDebugLevel;
};

}  // namespace common::app
