#include "course/PlayerCourses.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "app/CourseCatalogue.h"
#include "course/CourseCheck.h"
#include "course/CourseFile.h"

namespace common::course {
namespace fs = std::filesystem;

namespace {

// The islands are the shipped courses: player courses never fly over each other's.
std::vector<scene::CourseInfo> shippedOf(const app::CourseCatalogue& catalogue) {
    std::vector<scene::CourseInfo> shipped;
    for (const scene::CourseInfo& course : catalogue.courses()) {
        if (!course.playerCourse) {
            shipped.push_back(course);
        }
    }
    return shipped;
}

}  // namespace

fs::path PlayerCourses::folderFor(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && *xdgDataHome) {
        return fs::path(xdgDataHome) / "skyrings" / "courses";
    }
    if (home && *home) {
        return fs::path(home) / ".local" / "share" / "skyrings" / "courses";
    }
    return {};
}

fs::path PlayerCourses::folder() {
    return folderFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

PlayerCourses::Loaded PlayerCourses::load(const fs::path& file, const app::CourseCatalogue& catalogue) {
    Loaded loaded;
    const CourseFile course = CourseFile::readFile(file.string());
    const CourseCheck check(shippedOf(catalogue));
    const CourseVerdict verdict = check.check(course);
    for (const std::string& problem : verdict.problems) {
        loaded.problems.push_back(file.string() + ": " + problem);
    }
    if (!verdict.playable()) {
        return loaded;
    }
    if (catalogue.find(course.name)) {
        loaded.problems.push_back(file.string() + ": the name \"" + course.name +
                                  "\" is already a course's (" + catalogue.names() + ")");
        return loaded;
    }
    const scene::CourseInfo& island = *check.island(course.island);
    scene::CourseInfo info;
    info.name = course.name;
    info.scenePath = island.scenePath;
    info.heightMapPath = island.heightMapPath;
    info.rings = static_cast<int>(verdict.rings);
    info.length = verdict.length;
    info.par = verdict.par;
    info.playerCourse = std::make_shared<const scene::RaceCourse>(course.raceCourse());
    info.recordKey = course.recordKey();
    loaded.course = std::move(info);
    return loaded;
}

void PlayerCourses::join(app::CourseCatalogue& catalogue, const fs::path& folder, const Warning& warning) {
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".json") {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        Loaded loaded = load(file, catalogue);
        if (loaded.course) {
            catalogue.add(std::move(*loaded.course));
        } else {
            warning(loaded.problems.front() + " (left out)");
        }
    }
}

}  // namespace common::course
