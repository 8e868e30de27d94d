#include "game/RingCapture.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "game/CraftFlight.h"
#include "game/RingGate.h"

using namespace common::scene;

namespace {

// An upright ring (axis along world z, like a gate facing a craft flying along z) at `centre`.
glm::mat4 uprightRing(const glm::vec3& centre, float scale = 1.0f) {
    glm::mat4 transform = glm::translate(glm::mat4(1.0f), centre);
    transform = glm::rotate(transform, glm::radians(90.0f), glm::vec3(1, 0, 0));
    return glm::scale(transform, glm::vec3(scale));
}

// A craft whose last step went from `from` to `to`, or placed at `position` without a step.
const CraftFlight& craftStepping(const glm::vec3& from, const glm::vec3& to) {
    static CraftFlight craft;
    craft.previousPosition = from;
    craft.position = to;
    return craft;
}

const CraftFlight& craftAt(const glm::vec3& position) {
    return craftStepping(position, position);
}

}  // namespace

// Inside the box (its boundary is outside), less than 0.3 from the ring's plane, within 2 of the
// centre for an ordinary ring and 9 for a finish ring. The box is around the ring's turned and scaled
// cube. A quarter-size ring's box (2.25 from its centre) is tighter than the finish radius: the box
// decides.
TEST(RingCapture, NeedsTheBoxAroundTheTurnedAndScaledCubeThePlaneAndTheRadius) {
    const RingGate ring(uprightRing(glm::vec3(10, 20, -30)));
    const struct {
        glm::vec3 position;
        bool finish;
        bool captured;
    } cases[] = {
        {{10, 20, -30}, true, true},         {{10, 20, -30.29f}, false, true},
        {{10, 20, -30.31f}, false, false},   {{10, 20, -29.6f}, false, false},
        {{11.9f, 20, -30.1f}, false, true},  {{12.0f, 20, -30.1f}, false, false},
        {{12.0f, 20, -30.1f}, true, true},   {{10, 28.9f, -30.1f}, true, true},
        {{10, 28.9f, -30.1f}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position.x << ", " << c.position.y << ", " << c.position.z
                                        << (c.finish ? " finish" : " ordinary"));
        EXPECT_EQ(ring.collides(craftAt(c.position), c.finish), c.captured);
    }
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(45.0f), glm::vec3(0, 1, 0));
    const auto pose = poseOfRing(glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0)) * turned);
    EXPECT_NEAR(pose.boxMax.x, 5.0f + 9.0f * std::sqrt(2.0f), 1e-4f);
    EXPECT_NEAR(pose.boxMin.z, -9.0f * std::sqrt(2.0f), 1e-4f);
    EXPECT_FLOAT_EQ(pose.boxMax.y, 9.0f);
    EXPECT_EQ(pose.centre, glm::vec3(5, 0, 0));

    const RingGate small(uprightRing(glm::vec3(10, 20, -30), 0.25f));
    EXPECT_FLOAT_EQ(small.pose.boxMax.y, 22.25f);
    EXPECT_FALSE(small.collides(craftAt(glm::vec3(10, 22.25f, -30)), true));
    EXPECT_TRUE(small.collides(craftAt(glm::vec3(10, 22.2f, -30)), true));
}

// A step captures when it ends in the zone (as a position does) or crosses the ring's plane inside it,
// from either side. The longest step (top speed, straight down, 0.04 s) is 0.6: it can leap the slab
// from one face to the other with neither end in it. Grazing the rim, the crossing point decides; a
// step along the plane or one that stays still crosses nothing. The upright ring stands at z = 0.
TEST(RingCapture, AStepCapturesWhereItCrossesTheDiscWithinTheRadius) {
    const RingGate ring(uprightRing(glm::vec3(10, 20, 0)));
    const RingGate small(uprightRing(glm::vec3(10, 20, 0), 0.25f));
    const struct {
        const char* what;
        const RingGate& gate;
        glm::vec3 from, to;
        bool finish;
        bool captured;
    } cases[] = {
        {"slow, ending in the slab", ring, {10, 20, 0.25f}, {10, 20, 0.05f}, false, true},
        {"fast, leaping the slab", ring, {10, 20, 0.3f}, {10, 20, -0.3f}, false, true},
        {"fast, through the back", ring, {10.5f, 19.5f, -0.3f}, {10.5f, 19.5f, 0.3f}, false, true},
        {"grazing, just inside the rim", ring, {11.97f, 20, 0.3f}, {11.97f, 20, -0.3f}, false, true},
        {"oblique, crossing inside the rim", ring, {11.65f, 20, 0.31f}, {12.45f, 20, -0.5f}, false, true},
        {"grazing, just outside the rim", ring, {12.03f, 20, 0.3f}, {12.03f, 20, -0.3f}, false, false},
        {"ending past the rim, crossing inside", ring, {11.75f, 20, 0.32f}, {12.05f, 20, -0.2f}, false, true},
        {"crossing outside the radius", ring, {10, 23, 0.3f}, {10, 23, -0.3f}, false, false},
        {"just inside the finish radius", ring, {16.3f, 26.3f, 0.3f}, {16.3f, 26.3f, -0.3f}, true, true},
        {"just outside the finish radius", ring, {16.4f, 26.4f, 0.3f}, {16.4f, 26.4f, -0.3f}, true, false},
        {"in the finish radius, out of the box", small, {10, 22.3f, 0.1f}, {10, 22.3f, -0.1f}, true, false},
        {"along the plane, outside the slab", ring, {9, 20, 0.4f}, {11, 20, 0.4f}, false, false},
        {"along the plane, ending in the slab", ring, {9, 20, 0.1f}, {11, 20, 0.1f}, false, true},
        {"not moving, outside the slab", ring, {10, 20, 0.5f}, {10, 20, 0.5f}, false, false},
        {"not moving, in the plane", ring, {10, 20, 0}, {10, 20, 0}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.gate.collides(craftStepping(c.from, c.to), c.finish), c.captured);
    }
}
