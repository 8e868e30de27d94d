#include "tests/support/CourseManifest.h"

#include <fstream>

#include <nlohmann/json.hpp>

namespace testsupport {

std::vector<ManifestCourse> readCourseManifest() {
    const std::string resources = "../resources/";
    std::ifstream file(resources + "courses/manifest.json");
    const nlohmann::json manifest = nlohmann::json::parse(file, nullptr, false);
    std::vector<ManifestCourse> courses;
    if (manifest.is_discarded() || !manifest.contains("courses")) {
        return courses;
    }
    for (const nlohmann::json& entry : manifest["courses"]) {
        courses.push_back({entry.value("name", ""), resources + entry.value("scene", ""),
                           resources + entry.value("heightmap", ""), entry.value("length", 0.0)});
    }
    return courses;
}

}  // namespace testsupport
