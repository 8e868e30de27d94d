#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "game/CourseInfo.h"

namespace common::app {

// The courses the game can fly, in course order, read from the courses.json the build writes. GL-free.
// A catalogue that cannot be read still holds the default course with its built-in paths, so the game
// always has something to play; problem() then says why in one line.
class CourseCatalogue {
  public:
    static constexpr const char* kDefaultPath = "../resources/courses/courses.json";
    static constexpr const char* kDefaultCourse = "mountain";

    // Reads the file; course paths in it are relative to the resources folder, the folder above the
    // file's own.
    static CourseCatalogue load(const std::string& path = kDefaultPath);
    // Reads JSON text; `resourceDir` is put in front of the course paths.
    static CourseCatalogue read(std::istream& in, const std::string& resourceDir);
    // Only the default course, from its built-in paths.
    static CourseCatalogue builtIn();

    const std::vector<scene::CourseInfo>& courses() const { return courses_; }
    // Adds a course after the others (a player's); its name must be new.
    void add(scene::CourseInfo course) { courses_.push_back(std::move(course)); }
    // The course of that name; null when there is none.
    const scene::CourseInfo* find(const std::string& name) const;
    // The course after `name` in course order, wrapping to the first.
    const scene::CourseInfo& next(const std::string& name) const;
    // "mountain, coast, slalom": the names in course order.
    std::string names() const;
    // One line per course for --list-courses: "mountain  12 rings  1398 units  par 120.35 s".
    std::string listing() const;
    // Empty when the catalogue was read; otherwise one line saying what was wrong with it.
    const std::string& problem() const { return problem_; }

  private:
    std::vector<scene::CourseInfo> courses_;
    std::string problem_;
};

}  // namespace common::app
