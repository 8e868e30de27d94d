#include "tools/Course.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>

namespace common::assetgen {

namespace {

constexpr double kDegree = 0.017453292519943295;

glm::dvec3 catmullRom(const glm::dvec3& p0, const glm::dvec3& p1, const glm::dvec3& p2, const glm::dvec3& p3,
                      double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    return 0.5 * ((2.0 * p1) + (p2 - p0) * t + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * t2 +
                  (3.0 * p1 - p0 - 3.0 * p2 + p3) * t3);
}

}  // namespace

Course::Course(const CourseRoute& route) : start_(route.start) {
    glm::dvec3 position = route.start;
    double heading = 0.0;  // 0 faces +z; the craft starts facing that way
    controlPoints_.push_back(position);
    for (const CourseLeg& leg : route.legs) {
        heading += leg.turn * kDegree;
        position += glm::dvec3(std::sin(heading) * leg.length, leg.climb, std::cos(heading) * leg.length);
        controlPoints_.push_back(position);
        rings_.push_back(CourseRing{position, glm::dvec3(0.0), false});
    }
    rings_.back().finish = true;
    // Past the finish the line runs straight on, so the finish ring faces along its last leg.
    controlPoints_.push_back(position + (position - controlPoints_[controlPoints_.size() - 2]));

    for (std::size_t i = 0; i < rings_.size(); ++i) {
        const glm::dvec3 tangent = controlPoints_[i + 2] - controlPoints_[i];
        rings_[i].direction = glm::normalize(tangent);
    }
}

glm::dvec3 Course::pointOnCurve(std::size_t segment, double t) const {
    const std::size_t last = controlPoints_.size() - 1;
    const glm::dvec3& p1 = controlPoints_[segment];
    const glm::dvec3& p2 = controlPoints_[segment + 1];
    // The ends are extended in a straight line, which keeps the start's first leg straight.
    const glm::dvec3 p0 = segment > 0 ? controlPoints_[segment - 1] : p1 - (p2 - p1);
    const glm::dvec3 p3 = segment + 2 <= last ? controlPoints_[segment + 2] : p2 + (p2 - p1);
    return catmullRom(p0, p1, p2, p3, t);
}

std::vector<glm::dvec3> Course::centreLine(double step) const {
    std::vector<glm::dvec3> line;
    for (std::size_t segment = 0; segment + 1 < controlPoints_.size(); ++segment) {
        const double length = glm::length(controlPoints_[segment + 1] - controlPoints_[segment]);
        const int count = std::max(1, int(std::ceil(length / step)));
        for (int k = 0; k < count; ++k) {
            line.push_back(pointOnCurve(segment, double(k) / count));
        }
    }
    line.push_back(controlPoints_.back());
    return line;
}

double Course::length() const {
    double total = 0.0;
    glm::dvec3 from = start_;
    for (const CourseRing& ring : rings_) {
        total += glm::length(ring.position - from);
        from = ring.position;
    }
    return total;
}

glm::dmat4 Course::ringTransform(std::size_t i) const {
    const CourseRing& ring = rings_[i];
    const double scale = ring.finish ? 1.0 : 0.25;
    const glm::dvec3 axisY = ring.direction;
    const glm::dvec3 axisX = glm::normalize(glm::cross(axisY, glm::dvec3(0.0, 1.0, 0.0)));
    const glm::dvec3 axisZ = glm::cross(axisX, axisY);
    glm::dmat4 transform(1.0);
    transform[0] = glm::dvec4(axisX * scale, 0.0);
    transform[1] = glm::dvec4(axisY * scale, 0.0);
    transform[2] = glm::dvec4(axisZ * scale, 0.0);
    transform[3] = glm::dvec4(ring.position, 1.0);
    return transform;
}

}  // namespace common::assetgen
