#include "progress/GhostTrack.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace common::progress {
namespace {

bool finite(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

void GhostTrack::record(double time, const glm::mat4& craft, bool force) {
    if (!std::isfinite(time)) {
        return;
    }
    if (!samples_.empty()) {
        const double since = time - samples_.back().time;
        // A hair of slack: frames of exactly the interval must not skip a sample to rounding.
        if (since <= 0.0 || (!force && since < kSampleInterval - 1e-9)) {
            return;
        }
    }
    // The craft's matrix may be scaled: the rotation comes from its normalised axes.
    const glm::mat3 axes(glm::normalize(glm::vec3(craft[0])), glm::normalize(glm::vec3(craft[1])),
                         glm::normalize(glm::vec3(craft[2])));
    samples_.push_back({time, glm::vec3(craft[3]), glm::normalize(glm::quat_cast(axes))});
}

std::optional<glm::mat4> GhostTrack::poseAt(double time) const {
    if (samples_.empty() || !(time <= samples_.back().time)) {
        return std::nullopt;
    }
    auto after = std::upper_bound(samples_.begin(), samples_.end(), time,
                                  [](double t, const GhostSample& sample) { return t < sample.time; });
    GhostSample pose = samples_.front();
    if (after == samples_.end()) {
        pose = samples_.back();
    } else if (after != samples_.begin()) {
        const GhostSample& a = *(after - 1);
        const GhostSample& b = *after;
        const auto f = static_cast<float>((time - a.time) / (b.time - a.time));
        pose.position = glm::mix(a.position, b.position, f);
        pose.orientation = glm::slerp(a.orientation, b.orientation, f);
    }
    return glm::translate(glm::mat4(1.0f), pose.position) * glm::mat4_cast(pose.orientation);
}

bool GhostTrack::valid(const std::vector<GhostSample>& samples) {
    double previous = -1.0;
    for (const GhostSample& sample : samples) {
        const glm::quat& q = sample.orientation;
        const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
        if (!std::isfinite(sample.time) || sample.time < 0.0 || sample.time <= previous ||
            !finite(sample.position) || !std::isfinite(length) || std::abs(length - 1.0f) > 0.01f) {
            return false;
        }
        previous = sample.time;
    }
    return true;
}

}  // namespace common::progress
