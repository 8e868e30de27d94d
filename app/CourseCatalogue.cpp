#include "app/CourseCatalogue.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "scene/SceneLayout.h"
#include "terrain/HeightMap.h"

namespace common::app {
namespace {

using nlohmann::json;

const json& field(const json& entry, const char* key, bool (json::*isType)() const noexcept,
                  const char* what) {
    const auto found = entry.find(key);
    if (found == entry.end() || !((*found).*isType)()) {
        throw std::runtime_error(std::string("a course has no ") + what + " \"" + key + "\"");
    }
    return *found;
}

std::string text(const json& entry, const char* key) {
    const std::string value = field(entry, key, &json::is_string, "text").get<std::string>();
    if (value.empty()) {
        throw std::runtime_error(std::string("a course has an empty \"") + key + "\"");
    }
    return value;
}

double positive(const json& entry, const char* key) {
    const double value = field(entry, key, &json::is_number, "number").get<double>();
    if (!(value > 0.0) || !std::isfinite(value)) {
        throw std::runtime_error(std::string("a course has a \"") + key + "\" that is not positive");
    }
    return value;
}

// A count such as the rings: a whole number that an int holds (1e10 would not survive the cast).
int count(const json& entry, const char* key) {
    const double value = positive(entry, key);
    if (value > std::numeric_limits<int>::max() || value != std::floor(value)) {
        throw std::runtime_error(std::string("a course has a \"") + key +
                                 "\" that is not a whole number up to " +
                                 std::to_string(std::numeric_limits<int>::max()));
    }
    return static_cast<int>(value);
}

scene::CourseInfo courseFrom(const json& entry, const std::string& resourceDir) {
    if (!entry.is_object()) {
        throw std::runtime_error("a course is not an object");
    }
    scene::CourseInfo course;
    course.name = text(entry, "name");
    course.scenePath = resourceDir + "/" + text(entry, "scene");
    course.heightMapPath = resourceDir + "/" + text(entry, "heightmap");
    course.rings = count(entry, "rings");
    course.length = positive(entry, "length");
    course.par = positive(entry, "par");
    // The par flight's ghost is optional: without it the par ghost is simply not there.
    const auto ghost = entry.find("parGhost");
    if (ghost != entry.end() && ghost->is_string() && !ghost->get<std::string>().empty()) {
        course.parGhostPath = resourceDir + "/" + ghost->get<std::string>();
    }
    return course;
}

// "../resources/courses/courses.json" gives "../resources": the paths the game opens stay the same
// as the built-in ones for the default course.
std::string folderAbove(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        return "..";
    }
    const std::filesystem::path above = folder.parent_path();
    return above.empty() ? "." : above.string();
}

}  // namespace

CourseCatalogue CourseCatalogue::load(const std::string& path) {
    std::ifstream file(path);
    if (!file.is_open()) {
        CourseCatalogue fallback = builtIn();
        fallback.problem_ = "Course list " + path + " missing: only the " + kDefaultCourse + " course";
        return fallback;
    }
    CourseCatalogue catalogue = read(file, folderAbove(path));
    if (!catalogue.problem_.empty()) {
        catalogue.problem_ = "Course list " + path + " unreadable (" + catalogue.problem_ + "): only the " +
                             kDefaultCourse + " course";
    }
    return catalogue;
}

CourseCatalogue CourseCatalogue::read(std::istream& in, const std::string& resourceDir) {
    CourseCatalogue catalogue;
    try {
        const json document = json::parse(in);
        const auto list = document.find("courses");
        if (!document.is_object() || list == document.end() || !list->is_array() || list->empty()) {
            throw std::runtime_error("no \"courses\" list");
        }
        for (const json& entry : *list) {
            scene::CourseInfo course = courseFrom(entry, resourceDir);
            if (catalogue.find(course.name)) {
                throw std::runtime_error("the course \"" + course.name + "\" is listed twice");
            }
            catalogue.courses_.push_back(std::move(course));
        }
    } catch (const std::exception& error) {
        // A half-read list is no list: the game falls back to what it knows without the file.
        std::string reason = error.what();
        catalogue = builtIn();
        catalogue.problem_ = reason.substr(0, reason.find('\n'));
    }
    return catalogue;
}

CourseCatalogue CourseCatalogue::builtIn() {
    CourseCatalogue catalogue;
    scene::CourseInfo course;
    course.name = kDefaultCourse;
    course.scenePath = scene::SceneLayout::kDefaultPath;
    course.heightMapPath = scene::HeightMap::kDefaultPath;
    catalogue.courses_.push_back(course);
    return catalogue;
}

const scene::CourseInfo* CourseCatalogue::find(const std::string& name) const {
    for (const scene::CourseInfo& course : courses_) {
        if (course.name == name) {
            return &course;
        }
    }
    return nullptr;
}

const scene::CourseInfo& CourseCatalogue::next(const std::string& name) const {
    for (std::size_t i = 0; i < courses_.size(); ++i) {
        if (courses_[i].name == name) {
            return courses_[(i + 1) % courses_.size()];
        }
    }
    return courses_.front();
}

std::string CourseCatalogue::names() const {
    std::string list;
    for (const scene::CourseInfo& course : courses_) {
        list += (list.empty() ? "" : ", ") + course.name;
    }
    return list;
}

}  // namespace common::app

namespace common::app {

std::string CourseCatalogue::listing() const {
    std::string lines;
    for (const scene::CourseInfo& course : courses_) {
        char line[160];
        if (course.par > 0.0) {
            std::snprintf(line, sizeof line, "%-10s %3d rings %6.0f units  par %.2f s\n", course.name.c_str(),
                          course.rings, course.length, course.par);
        } else {
            std::snprintf(line, sizeof line, "%-10s rings, length and par unknown\n", course.name.c_str());
        }
        lines += line;
    }
    return lines;
}

}  // namespace common::app
