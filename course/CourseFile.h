#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "game/Race.h"

namespace common::course {

// A course a player wrote, as its JSON file says it (version 1):
//   {"format": "skyrings-course", "version": 1, "name": "ridge", "island": "mountain",
//    "start": {"position": [x, y, z], "direction": [x, y, z]},
//    "rings": [{"position": [...], "direction": [...]}, ..., {..., "finish": true}]}
// Reading never throws: what is wrong with the text goes to problems(), one line each, "ring N: ..."
// where a ring is at fault (counted from 1 as the file lists them). Where it lies on an island is
// CourseCheck's business. Keys it does not know are kept for the rewrite. GL-free.
class CourseFile {
  public:
    static constexpr const char* kFormat = "skyrings-course";
    static constexpr int kVersion = 1;
    static constexpr std::size_t kMaxRings = 500;
    static constexpr std::size_t kMaxNameLength = 40;
    // The scale of the shipped ring models: an ordinary ring is a quarter of the finish ring.
    static constexpr float kRingScale = 0.25f;
    static constexpr float kFinishScale = 1.0f;

    struct Ring {
        glm::dvec3 position{0.0};
        glm::dvec3 direction{0.0, 0.0, 1.0};
        bool finish = false;
    };

    CourseFile();

    static CourseFile parse(const std::string& text);
    // The file's text parsed; one problem when it cannot be opened.
    static CourseFile readFile(const std::string& path);

    // The file for a race course: each ring's centre and the way its local y axis points, the start's
    // position and the way its nose points.
    static CourseFile fromRace(const std::string& name, const std::string& island,
                               const scene::RaceCourse& race);

    // Letters, digits, space, '-' and '_', 1 to kMaxNameLength of them.
    static bool validName(const std::string& name);

    // The document as read, the known keys set from the fields below, unknown keys as they were.
    std::string text() const;

    // The craft's start: the position, level, facing the horizontal part of the direction.
    glm::mat4 startTransform() const;
    // A ring's model transform: its local y axis along the course, its local x level, the shipped
    // scale of an ordinary or a finish ring.
    glm::mat4 ringTransform(std::size_t index) const;
    scene::RaceCourse raceCourse() const;
    // The straight line from the start through every ring centre, in world units.
    double length() const;
    // The name the records are kept under: the name and a hash of the start and the rings, so an
    // edited course starts a fresh record.
    std::string recordKey() const;

    const std::vector<std::string>& problems() const { return problems_; }

    std::string name;
    std::string island;
    glm::dvec3 startPosition{0.0};
    glm::dvec3 startDirection{0.0, 0.0, 1.0};
    std::vector<Ring> rings;

  private:
    struct Document;
    void readDocument();
    void readStart();
    void readRings();
    void readFinish();
    void problem(const std::string& line) { problems_.push_back(line); }

    // Shared by copies: only parse() writes it.
    std::shared_ptr<Document> document_;
    std::vector<std::string> problems_;
};

}  // namespace common::course
