#pragma once

#include <optional>
#include <string>

namespace common::app {

// What the command line asks for, read once by main before any window exists. GL-free.
// Parsing never prints and never exits: when the command line asks for something other than a game
// (help, the version, or it is wrong), exitStatus() holds the status and message() what to print.
class Options {
  public:
    static constexpr int kUsageError = 2;

    static Options parse(int argc, const char* const* argv);

    // "--demo": the autopilot flies the course.
    bool demo() const { return demo_; }

    // Set when the program should print message() and stop: 0 for --help and --version (message on
    // standard output), kUsageError for a wrong command line (one usage line for standard error).
    std::optional<int> exitStatus() const { return exitStatus_; }
    const std::string& message() const { return message_; }

  private:
    bool demo_ = false;
    std::optional<int> exitStatus_;
    std::string message_;
};

}  // namespace common::app
