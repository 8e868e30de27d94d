#pragma once

#include <string>
#include <vector>

#include "app/CourseCatalogue.h"

namespace common::course {

// What the command line does with course files before any window opens: the check, and the
// catalogue a game plays from. Lines go through the logger. GL-free.
class CourseCommand {
  public:
    static constexpr int kProblems = 1;

    // `--check-course FILE`: the summary line and 0, or one line per problem and kProblems.
    static int check(const std::string& file, const app::CourseCatalogue& catalogue);
    // `--course-file FILE`: the file's course added to the catalogue; its name, or empty after one
    // line per problem.
    static std::string addFile(const std::string& file, app::CourseCatalogue& catalogue);
    // `--record-course NAME --island ISLAND`: the island without its rings added to the catalogue under
    // NAME, to fly over while recording. Empty, after one line, when NAME is a shipped course's.
    static std::string addRecording(const std::string& name, const std::string& island,
                                    app::CourseCatalogue& catalogue);

    // The names of the player's course files, read without the check, so `--course` can name them
    // before they are flown.
    static std::vector<std::string> playerNames();
};

}  // namespace common::course
