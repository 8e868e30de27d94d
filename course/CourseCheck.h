#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "course/CourseFile.h"
#include "game/CourseInfo.h"

namespace common::scene {
class HeightMap;
}

namespace common::course {

// What the check found: the problems, one line each ("ring N: ..." where a ring is at fault), and for
// a playable course the autopilot's time over it.
struct CourseVerdict {
    std::vector<std::string> problems;
    std::size_t rings = 0;
    double length = 0.0;
    double par = 0.0;

    bool playable() const { return problems.empty(); }
    // "ridge: 12 rings, 431 units, par 52.30 s"
    std::string summary(const std::string& name) const;
};

// Whether a course file can be played on the shipped islands: everything the reader found, then the
// island, where the start and the rings lie on its map, how far each ring's circle clears the ground
// or the water, how far apart the rings are, and last the autopilot's flight (only when all else
// holds: it would only repeat the problems). GL-free.
class CourseCheck {
  public:
    static constexpr double kMinClearance = 3.0;
    static constexpr double kMinRingDistance = 10.0;
    // The ring model's circle before the ring's scale.
    static constexpr double kRingModelRadius = 8.0;
    // The map: the height image's square widened by this much on every side, where the ground reads
    // as the image's border and the water still lies beneath.
    static constexpr double kMapMargin = 64.0;

    // `islands`: the shipped courses, whose landscapes player courses fly over.
    explicit CourseCheck(std::vector<scene::CourseInfo> islands);

    CourseVerdict check(const CourseFile& course) const;
    // The shipped course of that name; null when there is none.
    const scene::CourseInfo* island(const std::string& name) const;

  private:
    void checkPlacement(const CourseFile& course, const scene::HeightMap& ground,
                        CourseVerdict& verdict) const;
    void checkSpacing(const CourseFile& course, CourseVerdict& verdict) const;
    void fly(const CourseFile& course, const scene::HeightMap& ground, CourseVerdict& verdict) const;

    std::vector<scene::CourseInfo> islands_;
};

}  // namespace common::course
