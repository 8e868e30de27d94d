#include "progress/GhostTrack.h"

#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "tests/support/UnitGlmNear.h"

using common::progress::GhostTrack;

namespace {

// A craft at `position` turned `degrees` about +y, scaled as the scene's craft may be.
glm::mat4 craftAt(glm::vec3 position, float degrees, float scale = 1.0f) {
    const glm::mat4 placed = glm::rotate(glm::translate(glm::mat4(1.0f), position), glm::radians(degrees),
                                         glm::vec3(0.0f, 1.0f, 0.0f));
    return glm::scale(placed, glm::vec3(scale));
}

}  // namespace

// At 60 and at 25 frames a second the track keeps between 20 and 31 samples a second of race time;
// the finish is always kept, and time never goes back. Between two samples the pose moves and turns in
// proportion; before the first it waits at the start, after the last the ghost is gone. The craft's
// scale is not part of the pose.
TEST(GhostTrack, SamplesAtLeastTwentyTimesASecondKeepsTheFinishAndInterpolatesBetweenSamples) {
    for (double dt : {1.0 / 60.0, 0.04}) {
        GhostTrack track;
        double t = 0.0;
        for (int frame = 0; t < 10.0; ++frame) {
            t += dt;
            track.record(t, craftAt({float(t), 0.0f, 0.0f}, 0.0f));
        }
        const double rate = double(track.samples().size()) / t;
        EXPECT_GE(rate, 20.0) << "frame step " << dt;
        EXPECT_LE(rate, 31.0) << "frame step " << dt;
        track.record(t + 0.001, craftAt({5.0f, 0.0f, 0.0f}, 0.0f), true);
        EXPECT_EQ(track.samples().back().time, t + 0.001);
        const std::size_t count = track.samples().size();
        track.record(t, craftAt({0.0f, 0.0f, 0.0f}, 0.0f), true);
        EXPECT_EQ(track.samples().size(), count);
        EXPECT_TRUE(GhostTrack::valid(track.samples()));
    }
    GhostTrack track;
    track.record(1.0, craftAt({0.0f, 10.0f, 0.0f}, 0.0f, 3.0f));
    track.record(2.0, craftAt({4.0f, 10.0f, -8.0f}, 90.0f, 3.0f));
    testsupport::expectNear(*track.poseAt(1.25), craftAt({1.0f, 10.0f, -2.0f}, 22.5f), 1e-4f);
    testsupport::expectNear(*track.poseAt(0.0), craftAt({0.0f, 10.0f, 0.0f}, 0.0f), 1e-4f);
    testsupport::expectNear(*track.poseAt(2.0), craftAt({4.0f, 10.0f, -8.0f}, 90.0f), 1e-4f);
    EXPECT_FALSE(track.poseAt(2.01));
    EXPECT_FALSE(GhostTrack().poseAt(0.0));
}
