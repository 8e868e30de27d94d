#pragma once

#include <memory>
#include <string>

namespace common::scene {

struct RaceCourse;

// One course as the game knows it: its name (its records are kept under it), where its scene and
// height image lie (paths the game opens, beside the working directory), and the figures the build
// measured. `rings`, `length` and `par` are 0 when unknown; without a par no medal is awarded.
struct CourseInfo {
    std::string name = "mountain";
    std::string scenePath;
    std::string heightMapPath;
    int rings = 0;
    double length = 0.0;
    // The autopilot's time over the course at a fixed 1/60 s step, in seconds.
    double par = 0.0;
    // A course a player wrote: its start and rings, flown over the landscape of the scene above
    // (whose own rings are left out). Null for the shipped courses.
    std::shared_ptr<const RaceCourse> playerCourse;
    // The records' name: the name itself unless set (a player course adds a hash of its rings).
    std::string recordKey;

    const std::string& recordName() const { return recordKey.empty() ? name : recordKey; }
    // The autopilot's par flight as a ghost track (GhostFile); empty when the course has none.
    std::string parGhostPath;
};

}  // namespace common::scene
