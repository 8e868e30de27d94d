#pragma once

#include <cstddef>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

namespace common::assetgen {

// One checkpoint: where its centre is and which way the course runs through it.
struct CourseRing {
    glm::dvec3 position;
    glm::dvec3 direction;  // unit length
    bool finish = false;
};

// One leg of a route, flown from the previous ring (or the start) to the next ring: its length on the
// map, the change of heading before it (degrees, positive turns left) and the change of height.
struct CourseLeg {
    double length;
    double turn;
    double climb;
};

// Where the craft starts (heading +z) and the legs from ring to ring; the last ring is the finish.
struct CourseRoute {
    glm::dvec3 start;
    std::vector<CourseLeg> legs;
};

// A ring route built from a table of legs.
class Course {
  public:
    explicit Course(const CourseRoute& route);

    // Where the craft starts; it faces +z (its model matrix has no rotation), towards the first ring.
    const glm::dvec3& start() const { return start_; }
    const std::vector<CourseRing>& rings() const { return rings_; }
    // Length of the line from the start straight through every ring centre to the finish.
    double length() const;

    // The flown line: a smooth curve from the start through every ring centre, sampled about every
    // `step` units, running a little past the finish.
    std::vector<glm::dvec3> centreLine(double step) const;

    // Node transformation of ring i: its local y axis along the course, local x level, uniform scale
    // 0.25 for ordinary rings (radius 8 becomes 2) and 1 for the finish.
    glm::dmat4 ringTransform(std::size_t i) const;

  private:
    glm::dvec3 pointOnCurve(std::size_t segment, double t) const;

    glm::dvec3 start_;
    std::vector<CourseRing> rings_;
    std::vector<glm::dvec3> controlPoints_;  // start, rings, one point beyond the finish
};

}  // namespace common::assetgen
