#include "course/CourseRecorder.h"

#include <utility>

#include "game/CraftFlight.h"
#include "progress/AtomicFile.h"

namespace common::course {

CourseRecorder::CourseRecorder(std::string name, std::string island, const glm::mat4& start)
    : name_(std::move(name)), island_(std::move(island)), start_(start) {}

CourseFile::Ring CourseRecorder::ringAt(const scene::CraftFlight& craft) const {
    CourseFile::Ring ring;
    ring.position = glm::dvec3(craft.position);
    // The way it moves, sinking included; the nose only while it stands (before the first step).
    const glm::dvec3 step = glm::dvec3(craft.position) - glm::dvec3(craft.previousPosition);
    ring.direction = glm::length(step) > 1e-6 ? step : glm::dvec3(craft.direction);
    return ring;
}

void CourseRecorder::drop(const scene::CraftFlight& craft) {
    rings_.push_back(ringAt(craft));
}

bool CourseRecorder::removeLast() {
    if (rings_.empty()) {
        return false;
    }
    rings_.pop_back();
    return true;
}

CourseFile CourseRecorder::finish(const scene::CraftFlight& craft) const {
    CourseFile course;
    course.name = name_;
    course.island = island_;
    course.startPosition = glm::dvec3(start_[3]);
    course.startDirection = glm::dvec3(start_[2]);
    course.rings = rings_;
    course.rings.push_back(ringAt(craft));
    course.rings.back().finish = true;
    return course;
}

glm::mat4 CourseRecorder::restartPose() const {
    if (rings_.empty()) {
        return start_;
    }
    CourseFile place;
    place.startPosition = rings_.back().position;
    place.startDirection = rings_.back().direction;
    // A ring dropped in a vertical dive has no heading: the craft faces the start's way.
    if (place.startDirection.x == 0.0 && place.startDirection.z == 0.0) {
        place.startDirection = glm::dvec3(start_[2]);
    }
    return place.startTransform();
}

std::filesystem::path CourseRecorder::save(const CourseFile& course, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / (course.name + ".json");
    progress::AtomicFile::write(file, course.text());
    return file;
}

const std::vector<CourseRecorder::Key>& CourseRecorder::keys() {
    static const std::vector<Key> list = {
        {"Return", "drop a ring here, facing the way the craft flies"},
        {"Backspace", "take the last ring back"},
        {"F", "drop the finish ring here, save and check the course (pad: Y)"},
    };
    return list;
}

std::string CourseRecorder::helpText() {
    std::string text = "Recording a course (--record-course NAME --island ISLAND):\n";
    for (const Key& key : keys()) {
        text += "  " + std::string(key.label) + std::string(15 - std::string(key.label).size(), ' ') +
                key.help + "\n";
    }
    return text + "A crash puts the craft back at the last ring dropped.";
}

}  // namespace common::course
