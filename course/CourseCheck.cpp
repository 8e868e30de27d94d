#include "course/CourseCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>

#include "game/Autopilot.h"
#include "game/AutopilotFlight.h"
#include "game/CraftFlight.h"
#include "game/Race.h"
#include "terrain/HeightMap.h"

namespace common::course {
namespace {

constexpr int kCirclePoints = 48;

std::string ringLabel(std::size_t index) {
    return "ring " + std::to_string(index + 1) + ": ";
}

std::string figure(double value, const char* format = "%.1f") {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool onMap(const scene::HeightMap& ground, const glm::dvec3& position) {
    const double side = ground.getSize() / 2.0;
    const double margin = CourseCheck::kMapMargin;
    return position.x >= -margin && position.x <= side + margin && position.z <= margin &&
           position.z >= -side - margin;
}

// The lowest height over the ground (the height image holds the water's level under the water) of
// any point of the ring's circle.
double lowestClearance(const glm::mat4& ring, const scene::HeightMap& ground) {
    double lowest = 1e30;
    for (int i = 0; i < kCirclePoints; ++i) {
        const double angle = 2.0 * M_PI * i / kCirclePoints;
        const glm::vec4 local(static_cast<float>(CourseCheck::kRingModelRadius * std::cos(angle)), 0.0f,
                              static_cast<float>(CourseCheck::kRingModelRadius * std::sin(angle)), 1.0f);
        const glm::vec3 point(ring * local);
        lowest = std::min(lowest, double(point.y) - ground.groundHeight(point.x, point.z));
    }
    return lowest;
}

}  // namespace

std::string CourseVerdict::summary(const std::string& name) const {
    return name + ": " + std::to_string(rings) + " rings, " + figure(length, "%.0f") + " units, par " +
           figure(par, "%.2f") + " s";
}

CourseCheck::CourseCheck(std::vector<scene::CourseInfo> islands) : islands_(std::move(islands)) {}

const scene::CourseInfo* CourseCheck::island(const std::string& name) const {
    for (const scene::CourseInfo& island : islands_) {
        if (island.name == name) {
            return &island;
        }
    }
    return nullptr;
}

CourseVerdict CourseCheck::check(const CourseFile& course) const {
    CourseVerdict verdict;
    verdict.problems = course.problems();
    verdict.rings = course.rings.size();
    verdict.length = course.length();
    const scene::CourseInfo* landscape = island(course.island);
    if (!landscape) {
        std::string known;
        for (const scene::CourseInfo& each : islands_) {
            known += (known.empty() ? "" : ", ") + each.name;
        }
        if (!course.island.empty() || course.problems().empty()) {
            verdict.problems.push_back("unknown island \"" + course.island + "\" (islands: " + known + ")");
        }
        return verdict;
    }
    if (!verdict.problems.empty()) {
        return verdict;  // the values are not all there to place
    }
    scene::HeightMap ground;
    try {
        ground.load(scene::HeightMap::kCourseMaxHeight, landscape->heightMapPath);
    } catch (const std::exception&) {
        verdict.problems.push_back("the island \"" + course.island + "\" has no readable height image " +
                                   landscape->heightMapPath);
        return verdict;
    }
    checkPlacement(course, ground, verdict);
    checkSpacing(course, verdict);
    if (verdict.problems.empty()) {
        fly(course, ground, verdict);
    }
    return verdict;
}

void CourseCheck::checkPlacement(const CourseFile& course, const scene::HeightMap& ground,
                                 CourseVerdict& verdict) const {
    const std::string low = figure(-kMapMargin, "%.0f");
    const std::string high = figure(ground.getSize() / 2.0 + kMapMargin, "%.0f");
    const std::string map = "outside the island's map (x " + low + " to " + high + ", z -" + high + " to " +
                            figure(kMapMargin, "%.0f") + ")";
    if (!onMap(ground, course.startPosition)) {
        verdict.problems.push_back("start: " + map);
    }
    for (std::size_t i = 0; i < course.rings.size(); ++i) {
        if (!onMap(ground, course.rings[i].position)) {
            verdict.problems.push_back(ringLabel(i) + map);
            continue;
        }
        const double clearance = lowestClearance(course.ringTransform(i), ground);
        if (clearance < kMinClearance) {
            verdict.problems.push_back(ringLabel(i) + "its circle comes " + figure(clearance) +
                                       " units above the ground or water, less than " +
                                       figure(kMinClearance, "%.0f"));
        }
    }
}

void CourseCheck::checkSpacing(const CourseFile& course, CourseVerdict& verdict) const {
    for (std::size_t i = 1; i < course.rings.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const double distance = glm::length(course.rings[i].position - course.rings[j].position);
            if (distance < kMinRingDistance) {
                verdict.problems.push_back(ringLabel(i) + figure(distance) + " units from ring " +
                                           std::to_string(j + 1) + ", less than " +
                                           figure(kMinRingDistance, "%.0f"));
                break;
            }
        }
    }
}

void CourseCheck::fly(const CourseFile& course, const scene::HeightMap& ground,
                      CourseVerdict& verdict) const {
    scene::Race race(course.raceCourse(), &ground);
    scene::Autopilot pilot(race.course().ringTransforms());
    // Long courses get the time a slow flight along them takes.
    const double limit =
        std::max(scene::AutopilotFlight::kTimeLimit, 3.0 * verdict.length / scene::CraftFlight::kStartSpeed);
    const scene::FlightResult result =
        scene::AutopilotFlight::fly(race, pilot, scene::AutopilotFlight::kParStep, limit);
    if (result.finished) {
        verdict.par = result.seconds;
        return;
    }
    const std::size_t missed = race.rules().nextRing().value_or(course.rings.size() - 1);
    verdict.problems.push_back(
        ringLabel(missed) + "the autopilot cannot fly the course: it misses this ring (" +
        (result.crashed ? "it crashed" : "it ran out of time") + " after " + figure(result.seconds) + " s)");
}

}  // namespace common::course
