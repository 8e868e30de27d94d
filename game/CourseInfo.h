#pragma once

#include <string>

namespace common::scene {

// What the time trial needs to know about the course being flown: the name its records are kept
// under and its par time in seconds (0 when no par is known: no medal is awarded).
struct CourseInfo {
    std::string name = "mountain";
    double par = 0.0;
};

}  // namespace common::scene
