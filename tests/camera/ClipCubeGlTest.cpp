#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/BoundingBox.h"

using common::camera::BoundingBox;

// A cascade's map as the shadow pass sees it: an orthographic box 20 wide, 10 high and 30 deep,
// looked at from a light off to the side and above.
TEST(BoundingBox, ReachesTheClipCubeWhenAnyOfItOverlapsIt) {
    const glm::mat4 projection = glm::ortho(-10.0f, 10.0f, -5.0f, 5.0f, 0.0f, 30.0f);
    const glm::mat4 view =
        glm::lookAt(glm::vec3(0.0f, 0.0f, 15.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 toClip = projection * view;
    const struct {
        glm::vec3 min, max;
        bool reaches;
        const char* what;
    } cases[] = {
        {{-1.0f, -1.0f, -1.0f}, {1.0f, 1.0f, 1.0f}, true, "inside"},
        {{9.0f, 4.0f, -1.0f}, {12.0f, 7.0f, 1.0f}, true, "over the top right corner"},
        {{-30.0f, -30.0f, -30.0f}, {30.0f, 30.0f, 30.0f}, true, "around the whole cube"},
        {{10.5f, -1.0f, -1.0f}, {12.0f, 1.0f, 1.0f}, false, "right of it"},
        {{-12.0f, -1.0f, -1.0f}, {-10.5f, 1.0f, 1.0f}, false, "left of it"},
        {{-1.0f, 5.5f, -1.0f}, {1.0f, 7.0f, 1.0f}, false, "above it"},
        {{-1.0f, -7.0f, -1.0f}, {1.0f, -5.5f, 1.0f}, false, "below it"},
        {{-1.0f, -1.0f, 15.5f}, {1.0f, 1.0f, 17.0f}, false, "behind the light's near plane"},
        {{-1.0f, -1.0f, -17.0f}, {1.0f, 1.0f, -15.5f}, false, "beyond the far plane"},
        {{-1.0f, -1.0f, 14.0f}, {1.0f, 1.0f, 16.0f}, true, "across the near plane"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BoundingBox(c.min, c.max).reachesClipCube(toClip), c.reaches) << c.what;
    }
}
