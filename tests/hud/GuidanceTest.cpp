// Where the guidance mark goes, from a camera at the origin looking down -z with a 90-degree view on
// an 800 x 800 window: a point (x, y, -d) shows at pixel (400 + 400 x / d, 400 + 400 y / d).
#include "hud/Guidance.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

using common::hud::Guidance;
using common::hud::GuidanceMark;
using common::hud::ScreenRect;

namespace {

constexpr int kSide = 800;
const glm::mat4 kView =
    glm::lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
const glm::mat4 kProjection = glm::perspective(glm::radians(90.0f), 1.0f, 1.0f, 1000.0f);

GuidanceMark locate(const glm::vec3& ring, std::vector<ScreenRect> occupied = {}) {
    return Guidance(kSide, kSide, std::move(occupied))
        .locate(kView, kProjection, ring, glm::vec3(0.0f, 0.0f, 3.0f));
}

::testing::AssertionResult near(float actual, float expected) {
    if (std::abs(actual - expected) < 0.01f) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actual << " is not " << expected;
}

}  // namespace

// In view, a marker 64 wide, centred over the ring 6 pixels above it, pointing down; off to a side or
// behind, an arrow on the window's edge (6 pixels in) points the way to turn.
TEST(Guidance, ARingInViewGetsAMarkerAboveItAndOneOutOfViewAnArrowAtTheEdgeTowardsIt) {
    struct Case {
        const char* where;
        glm::vec3 ring;
        bool onScreen;
        float angle, centreX, centreY;
    } const cases[] = {
        {"straight ahead", {0.0f, 0.0f, -10.0f}, true, -90.0f, 400.0f, 438.0f},
        {"ahead, right and low", {5.0f, -2.5f, -10.0f}, true, -90.0f, 600.0f, 338.0f},
        {"right, ahead", {20.0f, 0.0f, -10.0f}, false, 0.0f, 762.0f, 400.0f},
        {"left, behind", {-1.0f, 0.0f, 10.0f}, false, 180.0f, 38.0f, 400.0f},
        {"above, behind", {0.0f, 5.0f, 10.0f}, false, 90.0f, 400.0f, 762.0f},
        {"below and left, ahead", {-30.0f, -30.0f, -10.0f}, false, -135.0f, 38.0f, 38.0f},
        {"straight behind: turn right", {0.0f, 0.0f, 10.0f}, false, 0.0f, 762.0f, 400.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const GuidanceMark mark = locate(c.ring);
        EXPECT_EQ(mark.onScreen, c.onScreen);
        EXPECT_TRUE(near(mark.angleDegrees, c.angle));
        EXPECT_TRUE(near(mark.area.width, 64.0f));
        EXPECT_TRUE(near(mark.area.x + mark.area.width / 2.0f, c.centreX));
        EXPECT_TRUE(near(mark.area.y + mark.area.height / 2.0f, c.centreY));
    }
    // Measured from the craft, not from the camera.
    EXPECT_TRUE(near(locate({0.0f, 4.0f, 0.0f}).distance, 5.0f));
}

// The mark takes the nearest free place on the window rather than hiding another item or leaving it.
TEST(Guidance, TheMarkKeepsClearOfTheHudAndOnTheWindow) {
    const std::vector<ScreenRect> hud = {{544.0f, 0.0f, 256.0f, 256.0f}, {10.0f, 400.0f, 128.0f, 128.0f}};
    const ScreenRect window{0.0f, 0.0f, float(kSide), float(kSide)};
    struct Case {
        const char* where;
        glm::vec3 ring;
        float left, bottom;
    } const cases[] = {
        {"deep over the dial: lifted above it", {7.0f, -7.0f, -10.0f}, 648.0f, 256.0f},
        {"over the dial's edge: moved left of it", {6.0f, -7.0f, -10.0f}, 480.0f, 126.0f},
        {"arrow on the warning's lower edge: moved below it", {-20.0f, 0.5f, -10.0f}, 6.0f, 336.0f},
        {"near the top: kept on the window", {0.0f, 9.9f, -10.0f}, 368.0f, 736.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const GuidanceMark mark = locate(c.ring, hud);
        EXPECT_TRUE(near(mark.area.x, c.left));
        EXPECT_TRUE(near(mark.area.y, c.bottom));
        EXPECT_TRUE(mark.area.inside(window));
        for (const ScreenRect& item : hud) {
            EXPECT_FALSE(mark.area.overlaps(item));
        }
    }
}
