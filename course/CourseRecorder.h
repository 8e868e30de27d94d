#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "course/CourseFile.h"

namespace common::scene {
class CraftFlight;
}

namespace common::course {

// A course recorded in flight: each ring dropped where the craft is, facing its direction of flight;
// the last one taken back; the finish dropped last, which makes the course file. GL-free: the game's
// keys and the tests' autopilot drive it alike.
class CourseRecorder {
  public:
    // `start`: where the craft starts on the island (a crash before any ring goes back there).
    CourseRecorder(std::string name, std::string island, const glm::mat4& start);

    void drop(const scene::CraftFlight& craft);
    // False when there was no ring to take back.
    bool removeLast();
    // The course: the rings dropped, then the finish where the craft is now.
    CourseFile finish(const scene::CraftFlight& craft) const;
    // Where a crashed craft flies on from: level at the last ring dropped, facing along it, or the start.
    glm::mat4 restartPose() const;
    std::size_t rings() const { return rings_.size(); }

    // Writes the file into `folder` (made when missing) as "<name>.json", atomically; returns its path.
    // Throws std::runtime_error when it cannot be written.
    static std::filesystem::path save(const CourseFile& course, const std::filesystem::path& folder);
    struct Key {
        const char* label;
        const char* help;
    };
    // The recorder's keys, active only while recording; `--help` and the manual page list them.
    static const std::vector<Key>& keys();
    static std::string helpText();

  private:
    CourseFile::Ring ringAt(const scene::CraftFlight& craft) const;

    std::string name_;
    std::string island_;
    glm::mat4 start_;
    std::vector<CourseFile::Ring> rings_;
};

}  // namespace common::course
