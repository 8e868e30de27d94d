#include "game/RingCapture.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "game/Player.h"
#include "game/RingGate.h"

using namespace common::scene;

namespace {

// An upright ring (axis along world z, like a gate facing a craft flying along z) at `centre`.
glm::mat4 uprightRing(const glm::vec3& centre, float scale = 1.0f) {
    glm::mat4 transform = glm::translate(glm::mat4(1.0f), centre);
    transform = glm::rotate(transform, glm::radians(90.0f), glm::vec3(1, 0, 0));
    return glm::scale(transform, glm::vec3(scale));
}

const Player& craftAt(const glm::vec3& position) {
    static Player craft;
    craft.position = position;
    return craft;
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
