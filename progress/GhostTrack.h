#pragma once

#include <optional>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

namespace common::progress {

// One recorded pose of the craft: where it was and which way it faced, at a time on the race clock.
struct GhostSample {
    double time = 0.0;
    glm::vec3 position{0.0f};
    glm::quat orientation{1.0f, 0.0f, 0.0f, 0.0f};
};

// The flight path of one run, sampled on the race clock, and its replay: the pose at any time of the
// run, interpolated between the two samples around it. Plain data, kept with a course's record.
class GhostTrack {
  public:
    // Thirty samples a second of race time: smooth enough for a chase view, small in the records.
    static constexpr double kSampleInterval = 1.0 / 30.0;

    GhostTrack() = default;
    // Takes samples as read back from the records; valid(samples) must hold.
    explicit GhostTrack(std::vector<GhostSample> samples) : samples_(std::move(samples)) {}

    // Keeps the craft's pose at race time `time` when a sample interval has passed since the last
    // one, or always when `force` (the finish: the track ends where the run did). The matrix may
    // carry a scale; only its position and rotation are kept. Earlier or equal times are ignored.
    void record(double time, const glm::mat4& craft, bool force = false);
    // The craft's position and rotation at race time `time` (no scale), held at the first sample
    // before it; none once the track is over (the ghost has crossed the finish) or when empty.
    std::optional<glm::mat4> poseAt(double time) const;

    const std::vector<GhostSample>& samples() const { return samples_; }
    bool empty() const { return samples_.empty(); }
    void clear() { samples_.clear(); }

    // True when every value is finite, times are not negative and strictly increase, and every
    // orientation is a usable rotation.
    static bool valid(const std::vector<GhostSample>& samples);

  private:
    std::vector<GhostSample> samples_;
};

}  // namespace common::progress
