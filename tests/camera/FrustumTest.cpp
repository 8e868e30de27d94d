#include "camera/Frustum.h"

#include <gtest/gtest.h>

#include "camera/BoundingBox.h"
#include "camera/CameraPersp.h"
#include "camera/PlaneExc.h"
#include "tests/camera/CameraMath.h"

using cameratest::expectNear;
using namespace common::camera;

namespace {

// At the origin looking down -z with a 90 degree field of view: inside means 1 <= -z <= 100 and
// |x|, |y| <= -z.
CameraPersp lookingDownNegativeZ() {
    CameraPersp camera;
    camera.lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setPerspective(90.0f, 1.0f, 1.0f, 100.0f);
    return camera;
}

}  // namespace

TEST(Plane, NormalFollowsTheWindingDistanceIsSignedAndDegeneratePointsThrow) {
    const Plane plane(glm::vec3(0.0f, 0.0f, 3.0f), glm::vec3(2.0f, 0.0f, 3.0f), glm::vec3(0.0f, 5.0f, 3.0f));
    EXPECT_EQ(plane.n, glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(plane.signedDistance(glm::vec3(7.0f, -1.0f, 8.0f)), 5.0f);
    EXPECT_FLOAT_EQ(plane.signedDistance(glm::vec3(0.0f, 0.0f, 1.0f)), -2.0f);
    // Collinear, coincident, and so far apart that the normal overflows.
    EXPECT_THROW(Plane(glm::vec3(0.0f), glm::vec3(1.0f), glm::vec3(3.0f)), PlaneExc);
    EXPECT_THROW(Plane(glm::vec3(2.0f), glm::vec3(2.0f), glm::vec3(5.0f)), PlaneExc);
    EXPECT_THROW(Plane(glm::vec3(0.0f), glm::vec3(3e38f, 0.0f, 0.0f), glm::vec3(0.0f, 3e38f, 0.0f)),
                 PlaneExc);
    EXPECT_STREQ(PlaneExc().what(), "Invalid parameters specified");
}

// Corners in the camera's u/v basis: u = (-1, 0, 0) and v = (0, -1, 0) here, so top left is at (+x, -y).
TEST(Frustum, CornersFollowTheCameraBasis) {
    const Frustum frustum(lookingDownNegativeZ());
    expectNear(frustum.nearCorners[0], glm::vec3(1.0f, -1.0f, -1.0f));
    expectNear(frustum.nearCorners[3], glm::vec3(-1.0f, 1.0f, -1.0f));
    expectNear(frustum.farCorners[1], glm::vec3(-100.0f, -100.0f, -100.0f), 1e-3f);
}

TEST(Frustum, EveryNormalPointsInward) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(3.0f, 8.0f, -2.0f), glm::vec3(-40.0f, 1.0f, 17.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setPerspective(50.0f, 1.5f, 2.0f, 500.0f);
    const Frustum frustum(camera);
    const glm::vec3 middle = camera.eyePoint + camera.viewDirection * 100.0f;
    // Beyond near, far, left, right, top and bottom in turn (right and top lie along +u and +v).
    const glm::vec3 outside[6] = {camera.eyePoint - camera.viewDirection,
                                  camera.eyePoint + camera.viewDirection * 600.0f,
                                  middle - camera.u * 500.0f,
                                  middle + camera.u * 500.0f,
                                  middle + camera.v * 500.0f,
                                  middle - camera.v * 500.0f};
    for (int i = 0; i < 6; ++i) {
        EXPECT_GT(frustum.planes[i].signedDistance(middle), 0.0f) << "plane " << i;
        EXPECT_LT(frustum.planes[i].signedDistance(outside[i]), 0.0f) << "plane " << i;
    }
}

TEST(Frustum, ZeroNearDistanceThrowsAndKeepsThePreviousFrustum) {
    CameraPersp camera = lookingDownNegativeZ();
    Frustum frustum(camera);
    const Frustum before = frustum;
    camera.setPerspective(90.0f, 1.0f, 0.0f, 100.0f);
    EXPECT_THROW(frustum.fromCamera(camera), PlaneExc);
    EXPECT_THROW(frustum.fromCameraSlice(camera, 0.0f, 50.0f), PlaneExc);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(frustum.planes[i].n, before.planes[i].n);
    }
    EXPECT_EQ(frustum.farCorners, before.farCorners);
}

TEST(Frustum, BoxesAreContainedIntersectingOrRejected) {
    const Frustum frustum(lookingDownNegativeZ());
    struct Case {
        const char* where;
        BoundingBox box;
        bool contained;
        bool intersects;
    };
    const Case cases[] = {
        {"wholly inside", {{-1, -1, -20}, {1, 1, -10}}, true, true},
        {"straddling the left plane", {{-30, -1, -20}, {0, 1, -10}}, false, true},
        {"straddling the near plane", {{-0.1f, -0.1f, -2}, {0.1f, 0.1f, 5}}, false, true},
        {"straddling the far plane", {{-1, -1, -150}, {1, 1, -50}}, false, true},
        {"in front of the near plane", {{-1, -1, -0.5f}, {1, 1, 5}}, false, false},
        {"beyond the far plane", {{-1, -1, -300}, {1, 1, -101}}, false, false},
        {"right of the right plane", {{30, -1, -20}, {40, 1, -10}}, false, false},
        // Every point has x > -z or z < -100, yet no plane alone rejects it.
        {"outside near the far right edge", {{101, -1, -110}, {110, 1, -95}}, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frustum.containsBox(c.box), c.contained) << c.where;
        EXPECT_EQ(frustum.intersectsBox(c.box), c.intersects) << c.where;
    }
}
