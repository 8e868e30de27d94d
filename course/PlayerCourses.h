#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/CourseInfo.h"

namespace common::app {
class CourseCatalogue;
}

namespace common::course {

// The courses players write, as the catalogue takes them: each file checked against the shipped
// islands and flown by the autopilot for its par time first. GL-free.
class PlayerCourses {
  public:
    using Warning = std::function<void(const std::string&)>;

    // What came of one file: the course, or the problems, each line starting with the file's path.
    struct Loaded {
        std::optional<scene::CourseInfo> course;
        std::vector<std::string> problems;
    };

    // "$XDG_DATA_HOME/skyrings/courses", else "$HOME/.local/share/skyrings/courses"; empty without either.
    static std::filesystem::path folderFor(const char* xdgDataHome, const char* home);
    static std::filesystem::path folder();

    // Reads and checks the file; a course that takes a name of the catalogue's is refused.
    static Loaded load(const std::filesystem::path& file, const app::CourseCatalogue& catalogue);
    // Every "*.json" of the folder, in name order, after the catalogue's courses; a file that fails
    // is left out with one line to `warning` (its first problem). A missing folder adds nothing.
    static void join(app::CourseCatalogue& catalogue, const std::filesystem::path& folder,
                     const Warning& warning);
};

}  // namespace common::course
