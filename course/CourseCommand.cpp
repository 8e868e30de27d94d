#include "course/CourseCommand.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/Logger.h"
#include "course/CourseCheck.h"
#include "course/CourseFile.h"
#include "course/PlayerCourses.h"
#include "scene/SceneLayout.h"

namespace common::course {

int CourseCommand::check(const std::string& file, const app::CourseCatalogue& catalogue) {
    const PlayerCourses::Loaded loaded = PlayerCourses::load(file, catalogue);
    if (!loaded.course) {
        for (const std::string& line : loaded.problems) {
            app::Logger::instance().warning(line);
        }
        return kProblems;
    }
    CourseVerdict verdict;
    verdict.rings = static_cast<std::size_t>(loaded.course->rings);
    verdict.length = loaded.course->length;
    verdict.par = loaded.course->par;
    app::Logger::instance().line(verdict.summary(loaded.course->name));
    return 0;
}

std::string CourseCommand::addFile(const std::string& file, app::CourseCatalogue& catalogue) {
    PlayerCourses::Loaded loaded = PlayerCourses::load(file, catalogue);
    if (!loaded.course) {
        for (const std::string& line : loaded.problems) {
            app::Logger::instance().warning(line);
        }
        return {};
    }
    const std::string name = loaded.course->name;
    catalogue.add(std::move(*loaded.course));
    return name;
}

std::string CourseCommand::addRecording(const std::string& name, const std::string& island,
                                        app::CourseCatalogue& catalogue) {
    if (catalogue.find(name)) {
        app::Logger::instance().warning("The course name \"" + name + "\" is taken (" + catalogue.names() +
                                        ")");
        return {};
    }
    const scene::CourseInfo* landscape = catalogue.find(island);
    scene::CourseInfo recording = *landscape;
    recording.name = name;
    recording.rings = 0;
    recording.par = 0.0;
    recording.length = 0.0;
    auto course = std::make_shared<scene::RaceCourse>();
    course->start = scene::SceneLayout::readRaceCourse(landscape->scenePath).start;
    recording.playerCourse = std::move(course);
    // Free flights over an island are nobody's record.
    recording.recordKey = name + "#recording";
    catalogue.add(std::move(recording));
    return name;
}

std::vector<std::string> CourseCommand::playerNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(PlayerCourses::folder(), error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".json") {
            const CourseFile course = CourseFile::readFile(it->path().string());
            if (!course.name.empty()) {
                names.push_back(course.name);
            }
        }
    }
    return names;
}

}  // namespace common::course
