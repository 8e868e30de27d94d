#include "game/Autopilot.h"

#include <algorithm>
#include <cmath>

#include "game/CraftFlight.h"
#include "game/RingCapture.h"
#include "camera/Angles.h"

namespace common::scene {
namespace {

// Line planning: spacing of the sampled line, and how far it runs on past the finish.
constexpr float kSampleSpacing = 0.5f;
constexpr int kMinSamplesPerLeg = 16;
constexpr float kRunOut = 80.0f;

// Guidance: the line's direction is read this many seconds of flight ahead (the craft needs time to
// turn), and every unit off the line tilts the wanted direction by kPull (capped at kMaxPull).
constexpr float kAnticipation = 0.2f;
constexpr float kPull = 0.17f;
constexpr float kMaxPull = 0.9f;

// The nose is never asked to go steeper than this below the horizon: the nose-down key stops at 60.
constexpr float kMaxDive = 55.0f;
constexpr float kMaxClimb = 35.0f;
// Downward tilt added to the wanted direction when the craft is too slow to fly it.
constexpr float kStallDive = 0.4f;

// How far ahead (seconds) the autopilot looks for the turn to bank for once the nose is on target,
// the smallest swing (degrees) worth banking for, and the bank error it lets stand meanwhile.
constexpr float kTurnLookAhead = 0.6f;
constexpr float kTurnThreshold = 0.6f;
constexpr float kAlignedRollTolerance = 4.0f;

// Outside the aligned state the craft pitches only once the error lies this close to its pitch plane.
constexpr float kRollTolerance = 20.0f;

// A jump of the craft larger than this between two frames is a restart.
constexpr float kJump = 5.0f;

// Cubic Hermite curve from p0 (leaving along m0) to p1 (arriving along m1), tangents scaled by the
// chord so the legs bend gently.
glm::vec3 hermite(const glm::vec3& p0, const glm::vec3& m0, const glm::vec3& p1, const glm::vec3& m1,
                  float t) {
    const float chord = glm::length(p1 - p0);
    const float t2 = t * t;
    const float t3 = t2 * t;
    return (2.0f * t3 - 3.0f * t2 + 1.0f) * p0 + (t3 - 2.0f * t2 + t) * chord * m0 +
           (-2.0f * t3 + 3.0f * t2) * p1 + (t3 - t2) * chord * m1;
}

// Turns a wanted flight direction into the nose direction that yields it: the craft moves along
// its nose at `speed` and sinks at 3 units per second whatever its attitude. Too slow to hold that
// direction at all, it dives a little along it to gather speed.
glm::vec3 noseForFlightDirection(const glm::vec3& direction, float speed) {
    // Solve |lambda * direction + sink| = speed for the largest lambda.
    const float b = CraftFlight::kSinkRate * direction.y;
    const float discriminant = b * b - CraftFlight::kSinkRate * CraftFlight::kSinkRate + speed * speed;
    const float lambda = -b + std::sqrt(std::max(discriminant, 0.0f));
    if (discriminant < 0.0f || lambda <= 0.0f) {
        return glm::normalize(direction - glm::vec3(0.0f, kStallDive, 0.0f));
    }
    return glm::normalize(lambda * direction + glm::vec3(0.0f, CraftFlight::kSinkRate, 0.0f));
}

glm::vec3 limitElevation(const glm::vec3& nose) {
    const float horizontal = std::sqrt(nose.x * nose.x + nose.z * nose.z);
    const float elevation = toDegrees(std::atan2(nose.y, horizontal));
    const float limited = std::clamp(elevation, -kMaxDive, kMaxClimb);
    if (limited == elevation || horizontal < 1e-6f) {
        return nose;
    }
    const float radians = toRadians(limited);
    return glm::vec3(nose.x / horizontal * std::cos(radians), std::sin(radians),
                     nose.z / horizontal * std::cos(radians));
}

}  // namespace

Autopilot::Autopilot(std::vector<glm::mat4> ringTransforms) {
    rings.reserve(ringTransforms.size());
    for (std::size_t i = 0; i < ringTransforms.size(); ++i) {
        const glm::mat4& transform = ringTransforms[i];
        const bool finish = i + 1 == ringTransforms.size();
        // A ring squashed flat along its axis has no axis to fly along: plan() then takes the
        // direction it is reached from.
        const glm::vec3 axis(transform[1]);
        const float axisLength = glm::length(axis);
        rings.push_back(Ring{glm::vec3(transform[3]),
                             axisLength > 1e-6f ? axis / axisLength : glm::vec3(0.0f),
                             finish ? kFinishRadius : kRingRadius});
    }
}

bool Autopilot::isKeyDown(int key) {
    switch (key) {
        case keys::kUp:
            return up;
        case keys::kDown:
            return down;
        case keys::kLeft:
            return left;
        case keys::kRight:
            return right;
        default:
            return false;
    }
}

void Autopilot::appendLeg(const glm::vec3& from, const glm::vec3& fromDirection, const glm::vec3& to,
                          const glm::vec3& toDirection) {
    const float chord = glm::length(to - from);
    const int samples = std::max(kMinSamplesPerLeg, int(std::ceil(chord / kSampleSpacing)));
    for (int k = 1; k <= samples; ++k) {
        const glm::vec3 point = hermite(from, fromDirection, to, toDirection, float(k) / float(samples));
        const float arc = path.back().arc + glm::length(point - path.back().position);
        path.push_back(PathPoint{point, arc});
    }
}

void Autopilot::plan(const glm::vec3& start, const glm::vec3& heading) {
    path.clear();
    next = 0;
    pathCursor = 0;
    aligned = false;
    pullRegime = true;

    // Each ring is flown through along its axis, in the sense that leads on from the point before.
    glm::vec3 from = start;
    for (Ring& ring : rings) {
        const glm::vec3 approach = ring.centre - from;
        if (glm::dot(ring.axis, ring.axis) == 0.0f) {
            ring.axis = glm::dot(approach, approach) > 1e-12f ? glm::normalize(approach) : heading;
        } else if (glm::dot(ring.axis, approach) < 0.0f) {
            ring.axis = -ring.axis;
        }
        from = ring.centre;
    }

    path.push_back(PathPoint{start, 0.0f});
    glm::vec3 legStart = start;
    glm::vec3 legDirection = heading;
    for (Ring& ring : rings) {
        appendLeg(legStart, legDirection, ring.centre, ring.axis);
        ring.arc = path.back().arc;
        legStart = ring.centre;
        legDirection = ring.axis;
    }
    appendLeg(legStart, legDirection, legStart + kRunOut * legDirection, legDirection);
    planned = true;
}

// A ring counts as flown once the craft is on its far side near it. Whether it scored is the game's
// business; the autopilot goes on to the next one either way.
void Autopilot::advancePastCrossedRings(const glm::vec3& position) {
    while (next < rings.size()) {
        const Ring& ring = rings[next];
        const glm::vec3 offset = position - ring.centre;
        const bool beyond = glm::dot(offset, ring.axis) > 0.0f;
        const bool near = glm::length(offset) < std::max(3.0f * ring.radius, 10.0f);
        if (!(beyond && near)) {
            break;
        }
        ++next;
    }
}

float Autopilot::nearestArc(const glm::vec3& position) {
    // The search stays between where the craft was and a little past the ring it flies to, so a
    // course that passes near itself cannot pull the craft onto a later stretch.
    const float limit = next < rings.size() ? rings[next].arc + 3.0f : path.back().arc;
    const std::size_t first = pathCursor > 8 ? pathCursor - 8 : 0;
    float bestDistance = INFINITY;
    float bestArc = path[first].arc;
    std::size_t bestIndex = first;
    for (std::size_t i = first; i + 1 < path.size() && path[i].arc <= limit; ++i) {
        const glm::vec3 a = path[i].position;
        const glm::vec3 ab = path[i + 1].position - a;
        const float t =
            std::clamp(glm::dot(position - a, ab) / std::max(glm::dot(ab, ab), 1e-12f), 0.0f, 1.0f);
        const float distance = glm::length(a + t * ab - position);
        if (distance < bestDistance) {
            bestDistance = distance;
            bestArc = std::min(path[i].arc + t * (path[i + 1].arc - path[i].arc), limit);
            bestIndex = i;
        }
    }
    pathCursor = bestIndex;
    lastCrossTrack = bestDistance;
    return bestArc;
}

glm::vec3 Autopilot::pointAt(float arc) const {
    if (arc <= path.front().arc) {
        return path.front().position;
    }
    if (arc >= path.back().arc) {
        const glm::vec3 lastStep = path.back().position - path[path.size() - 2].position;
        return path.back().position + glm::normalize(lastStep) * (arc - path.back().arc);
    }
    const auto after = std::upper_bound(
        path.begin(), path.end(), arc, [](float value, const PathPoint& point) { return value < point.arc; });
    const PathPoint& b = *after;
    const PathPoint& a = *(after - 1);
    const float t = (arc - a.arc) / std::max(b.arc - a.arc, 1e-6f);
    return glm::mix(a.position, b.position, t);
}

glm::vec3 Autopilot::desiredNose(const CraftFlight& craft, const glm::vec3& flightDirection) const {
    // A scaled model matrix moves the craft proportionally faster.
    const float scale = glm::length(glm::vec3(craft.pose()[2]));
    return limitElevation(noseForFlightDirection(flightDirection, craft.speed * scale));
}

void Autopilot::steer(const CraftFlight& craft, double dt) {
    const glm::vec3 position = craft.position;
    if (!planned || glm::length(position - lastPosition) > kJump) {
        plan(position, glm::normalize(glm::vec3(craft.pose()[2])));
    }
    lastPosition = position;
    advancePastCrossedRings(position);

    const float here = nearestArc(position);
    const float speed = std::max(craft.speed, CraftFlight::kMinSpeed);
    glm::vec3 pull = (pointAt(here) - position) * kPull;
    const float pullLength = glm::length(pull);
    if (pullLength > kMaxPull) {
        pull *= kMaxPull / pullLength;
    }
    const glm::vec3 nose = desiredNose(craft, glm::normalize(tangentAt(here + speed * kAnticipation) + pull));
    const glm::vec3 noseLater =
        desiredNose(craft, glm::normalize(tangentAt(here + speed * (kAnticipation + kTurnLookAhead)) + pull));
    turnTowards(craft, nose, noseLater - nose, dt);
}

glm::vec3 Autopilot::tangentAt(float arc) const {
    return glm::normalize(pointAt(arc + 0.5f) - pointAt(arc - 0.5f));
}

// Bang-bang attitude control on the four keys. A large error between nose and wanted nose is
// rolled into the pitch plane (towards local +y to pull, or towards -y to push when that needs less
// roll) and then pitched away. Once the nose is on target the craft banks for the turn the line asks
// for next, or levels its wings on a straight stretch, so that the usual small corrections are
// pure pitch and the craft does not rock from one bank to the other.
void Autopilot::turnTowards(const CraftFlight& craft, const glm::vec3& nose, const glm::vec3& turn,
                            double dt) {
    const glm::mat4& model = craft.pose();
    const glm::vec3 x = glm::normalize(glm::vec3(model[0]));
    const glm::vec3 y = glm::normalize(glm::vec3(model[1]));
    const glm::vec3 z = glm::normalize(glm::vec3(model[2]));
    const float nx = glm::dot(nose, x);
    const float ny = glm::dot(nose, y);
    const float nz = glm::dot(nose, z);

    const float pitchStep = CraftFlight::kPitchRate * float(dt);
    const float rollStep = CraftFlight::kRollRate * float(dt);
    const float error = toDegrees(std::atan2(std::sqrt(nx * nx + ny * ny), nz));
    const float pitchError = toDegrees(std::atan2(ny, nz));  // positive: wanted nose is towards +y
    const bool noseDownAllowed = craft.pitchAngle + pitchStep < CraftFlight::kPitchLimit;

    if (aligned && error > 1.5f * pitchStep + 1.0f) {
        aligned = false;
    } else if (!aligned && error < 0.75f * pitchStep + 0.2f) {
        aligned = true;
    }

    // Which way the nose has to swing, in the craft's x-y plane, and how much roll puts that way
    // onto the pitch axis.
    glm::vec2 swing(nx, ny);
    float rollTolerance = 0.5f * rollStep;
    if (aligned) {
        // Only the coming turn: the small error left is pitched away every frame, which keeps it
        // square to the pitch plane, so banking for it would roll on and on.
        swing = glm::vec2(glm::dot(turn, x), glm::dot(turn, y));
        rollTolerance = std::max(rollTolerance, kAlignedRollTolerance);
    }
    float rollError = 0.0f;  // positive: roll right
    if (!aligned || toDegrees(glm::length(swing)) > kTurnThreshold) {
        const float bearing = toDegrees(std::atan2(swing.x, swing.y));  // from +y, towards +x
        if (pullRegime && std::fabs(bearing) > 110.0f) {
            pullRegime = false;
        } else if (!pullRegime && std::fabs(bearing) < 70.0f) {
            pullRegime = true;
        }
        if (!pullRegime && pitchError < 0.0f && !noseDownAllowed) {
            pullRegime = true;  // pushing is refused at the limit: roll over and pull instead
        }
        // Rolling right by a turns the bearing by +a.
        rollError = -(pullRegime ? bearing : bearing - std::copysign(180.0f, bearing));
    } else if (std::fabs(z.y) < 0.95f) {
        // Straight on: wings level (not when the nose points nearly straight up or down).
        rollError = toDegrees(std::atan2(-x.y, y.y));
    }

    right = rollError > rollTolerance;
    left = rollError < -rollTolerance;
    // Pitching while the error still lies well off the pitch plane would chase it round the nose
    // as fast as the roll brings it in: roll first.
    const bool rolledIn = aligned || std::fabs(rollError) < kRollTolerance;
    down = rolledIn && pitchError > 0.5f * pitchStep;
    up = rolledIn && pitchError < -0.5f * pitchStep && noseDownAllowed;
}

}  // namespace common::scene
