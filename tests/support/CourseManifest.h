#pragma once

#include <string>
#include <vector>

namespace testsupport {

// One course of the generated manifest, with its paths as the game opens them from the staged bin
// folder the tests run in.
struct ManifestCourse {
    std::string name;
    std::string scenePath;
    std::string heightMapPath;
    double length = 0.0;
};

// Every course of "../resources/courses/manifest.json", in course order; empty when the file is missing
// or unreadable (the tests then fail on the count).
std::vector<ManifestCourse> readCourseManifest();

}  // namespace testsupport
