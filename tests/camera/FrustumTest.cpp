#include "camera/Frustum.h"

#include <gtest/gtest.h>

#include "camera/BoundingBox.h"
#include "camera/CameraPersp.h"
#include "camera/PlaneExc.h"
#include "tests/camera/CameraMath.h"

using common::camera::BoundingBox;
using common::camera::CameraPersp;
using common::camera::Frustum;
using common::camera::Plane;
using common::camera::PlaneExc;

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

// Planes from three points.
TEST(Plane, NormalFollowsTheWindingAndDistanceIsSigned) {
    const Plane plane(glm::vec3(0.0f, 0.0f, 3.0f), glm::vec3(2.0f, 0.0f, 3.0f), glm::vec3(0.0f, 5.0f, 3.0f));
    EXPECT_EQ(plane.n, glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(plane.signedDistance(glm::vec3(7.0f, -1.0f, 8.0f)), 5.0f);
    EXPECT_FLOAT_EQ(plane.signedDistance(glm::vec3(0.0f, 0.0f, 1.0f)), -2.0f);
}

TEST(Plane, CollinearOrCoincidentPointsThrowWithTheMessage) {
    try {
        Plane(glm::vec3(0.0f), glm::vec3(1.0f), glm::vec3(3.0f));
        FAIL() << "collinear points gave a plane";
    } catch (const PlaneExc& e) {
        EXPECT_STREQ(e.what(), "Invalid parameters specified");
    }
    EXPECT_THROW(Plane(glm::vec3(2.0f), glm::vec3(2.0f), glm::vec3(5.0f)), PlaneExc);
}

// Building from a camera: corners in the camera's u/v basis, normals pointing inward.
TEST(Frustum, CornersFollowTheCameraBasis) {
    const Frustum frustum(lookingDownNegativeZ());
    // u = (-1, 0, 0) and v = (0, -1, 0) here, so the top left corner is at world (+x, -y).
    cameratest::expectNear(frustum.nearCorners[0], glm::vec3(1.0f, -1.0f, -1.0f));
    cameratest::expectNear(frustum.nearCorners[3], glm::vec3(-1.0f, 1.0f, -1.0f));
    cameratest::expectNear(frustum.farCorners[1], glm::vec3(-100.0f, -100.0f, -100.0f), 1e-3f);
}

TEST(Frustum, EveryNormalPointsInward) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(3.0f, 8.0f, -2.0f), glm::vec3(-40.0f, 1.0f, 17.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setPerspective(50.0f, 1.5f, 2.0f, 500.0f);
    const Frustum frustum(camera);
    const glm::vec3 middle = camera.eyePoint + camera.viewDirection * 100.0f;
    // Beyond each of the six planes in turn (the right and top extents lie along +u and +v).
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

// Culling: wholly inside, straddling one plane, wholly outside one plane, outside near a corner.
TEST(Frustum, BoxWhollyInsideIsContainedAndIntersects) {
    const Frustum frustum(lookingDownNegativeZ());
    const BoundingBox box(glm::vec3(-1.0f, -1.0f, -20.0f), glm::vec3(1.0f, 1.0f, -10.0f));
    EXPECT_TRUE(frustum.containsBox(box));
    EXPECT_TRUE(frustum.intersectsBox(box));
}

TEST(Frustum, BoxStraddlingOnePlaneIntersectsButIsNotContained) {
    const Frustum frustum(lookingDownNegativeZ());
    for (const BoundingBox& box :
         {BoundingBox(glm::vec3(-30.0f, -1.0f, -20.0f), glm::vec3(0.0f, 1.0f, -10.0f)),
          BoundingBox(glm::vec3(-0.1f, -0.1f, -2.0f), glm::vec3(0.1f, 0.1f, 5.0f)),
          BoundingBox(glm::vec3(-1.0f, -1.0f, -150.0f), glm::vec3(1.0f, 1.0f, -50.0f))}) {
        EXPECT_FALSE(frustum.containsBox(box));
        EXPECT_TRUE(frustum.intersectsBox(box));
    }
}

TEST(Frustum, BoxWhollyOutsideOnePlaneIsRejected) {
    const Frustum frustum(lookingDownNegativeZ());
    for (const BoundingBox& box :
         {BoundingBox(glm::vec3(-1.0f, -1.0f, -0.5f), glm::vec3(1.0f, 1.0f, 5.0f)),
          BoundingBox(glm::vec3(-1.0f, -1.0f, -300.0f), glm::vec3(1.0f, 1.0f, -101.0f)),
          BoundingBox(glm::vec3(30.0f, -1.0f, -20.0f), glm::vec3(40.0f, 1.0f, -10.0f))}) {
        EXPECT_FALSE(frustum.containsBox(box));
        EXPECT_FALSE(frustum.intersectsBox(box));
    }
}

TEST(Frustum, BoxOutsideNearACornerStillCountsAsIntersecting) {
    const Frustum frustum(lookingDownNegativeZ());
    // Past the far edge on the +x side: every point has x > -z or z < -100, yet no plane alone rejects it.
    const BoundingBox box(glm::vec3(101.0f, -1.0f, -110.0f), glm::vec3(110.0f, 1.0f, -95.0f));
    EXPECT_FALSE(frustum.containsBox(box));
    EXPECT_TRUE(frustum.intersectsBox(box));
}
