#pragma once

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace common::app {

// What the command line asks for, read once by main before any window exists. GL-free.
// Parsing never prints and never exits: when the command line asks for something other than a game
// (help, the version, or it is wrong), exitStatus() holds the status and message() what to print.
class Options {
  public:
    static constexpr int kUsageError = 2;

    // One option as `--help` describes it: "--course", its value's name ("NAME", empty for a flag)
    // and its help text.
    struct Described {
        std::string name;
        std::string valueName;
        std::string help;
    };

    // `courses`: the names "--course" accepts; anything else is a usage error that lists them.
    // `islands`: the names "--island" accepts (the shipped courses).
    static Options parse(int argc, const char* const* argv, const std::vector<std::string>& courses = {},
                         const std::vector<std::string>& islands = {});
    // Every option, in the order `--help` lists them (the manual page is written from this).
    static std::vector<Described> described();

    // "--demo": the autopilot flies the course.
    bool demo() const { return demo_; }
    // "--course NAME": the course to start on; empty when not given.
    const std::string& course() const { return course_; }
    // "--list-courses": print the courses and stop.
    bool listCourses() const { return listCourses_; }
    // "--check-course FILE": check a course file and stop; empty when not given.
    const std::string& checkCourse() const { return checkCourse_; }
    // "--course-file FILE": play that course file; empty when not given.
    const std::string& courseFile() const { return courseFile_; }
    // "--record-course NAME" with "--island ISLAND": record a course; empty when not given.
    const std::string& recordCourse() const { return recordCourse_; }
    const std::string& island() const { return island_; }
    // "--menu": start with the menu open over the paused countdown.
    bool menu() const { return menu_; }

    // Set when the program should print message() and stop: 0 for --help and --version (message on
    // standard output), kUsageError for a wrong command line (one usage line for standard error).
    std::optional<int> exitStatus() const { return exitStatus_; }
    const std::string& message() const { return message_; }

  private:
    // Adds every option, bound to this object's fields, and the help's footer.
    void declare(CLI::App& app, const std::vector<std::string>& courses,
                 const std::vector<std::string>& islands);
    void declareCourseFiles(CLI::App& app, const std::vector<std::string>& islands);

    bool demo_ = false;
    bool listCourses_ = false;
    bool menu_ = false;
    std::string course_;
    std::string checkCourse_;
    std::string courseFile_;
    std::string recordCourse_;
    std::string island_;
    std::optional<int> exitStatus_;
    std::string message_;
};

}  // namespace common::app
