// The cameras' views and projections, the shadow cascades, planes, frusta and the boxes they cull.
#include "camera/CameraPersp.h"

#include <gtest/gtest.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "camera/BoundingBox.h"
#include "camera/Frustum.h"
#include "camera/PlaneExc.h"
#include "scene/Light.h"
#include "tests/support/UnitGlmNear.h"

using namespace common::camera;
using common::scene::Light;

namespace {

using testsupport::expectNear;

const glm::vec3 kYUp(0.0f, 1.0f, 0.0f);

// Where a world point lands in normalised device coordinates.
glm::vec3 project(const CameraPersp& camera, const glm::vec3& point) {
    const glm::vec4 clip = camera.projectionMatrix * camera.viewMatrix * glm::vec4(point, 1.0f);
    return glm::vec3(clip) / clip.w;
}

const glm::mat4 kSunView = glm::lookAt(glm::vec3(300.0f, 800.0f, 200.0f), glm::vec3(0.0f), kYUp);

// Each cascade matrix, applied after the light's view, must map its slice onto [-1, 1] on every axis.
void expectEverySliceFitsTheUnitCube(const CameraPersp& camera, const glm::mat4& lightView, float tolerance) {
    for (std::size_t i = 0; i < camera.cascadeFrustums.size(); ++i) {
        glm::vec3 low(1e30f);
        glm::vec3 high(-1e30f);
        for (const auto* corners :
             {&camera.cascadeFrustums[i]->nearCorners, &camera.cascadeFrustums[i]->farCorners}) {
            for (const glm::vec3& corner : *corners) {
                const glm::vec4 q = camera.cascadeMatrices[i] * lightView * glm::vec4(corner, 1.0f);
                low = glm::min(low, glm::vec3(q) / q.w);
                high = glm::max(high, glm::vec3(q) / q.w);
            }
        }
        SCOPED_TRACE("cascade " + std::to_string(i));
        expectNear(low, glm::vec3(-1.0f), tolerance);
        expectNear(high, glm::vec3(1.0f), tolerance);
    }
}

}  // namespace

// 45 degrees high, tan(22.5 degrees) = 0.414214 on the near plane; the aspect widens only left and right.
TEST(CameraPersp, DefaultLooksFromItsCornerAtTheOriginAndTheAspectWidensOnlyLeftAndRight) {
    CameraPersp camera;
    EXPECT_EQ(camera.eyePoint, glm::vec3(28.0f, 21.0f, 28.0f));
    expectNear(camera.getViewDirection(), glm::vec3(-0.624695f, -0.468521f, -0.624695f));
    expectNear(glm::vec2(project(camera, glm::vec3(0.0f))), glm::vec2(0.0f));
    for (float aspect : {1.0f, 2.0f}) {
        camera.setPerspective(45.0f, aspect, 1.0f, 1000.0f);
        expectNear(
            glm::vec4(camera.frustumLeft, camera.frustumRight, camera.frustumTop, camera.frustumBottom),
            glm::vec4(-aspect, aspect, 1.0f, -1.0f) * 0.414214f);
    }
    // Looking down -z: the view's corner 10 ahead, the near plane at depth -1 and the far plane at 1.
    camera.lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), kYUp);
    expectNear(glm::vec2(project(camera, {8.28427f, 4.14214f, -10.0f})), glm::vec2(1.0f));
    expectNear(glm::vec2(project(camera, {0, 0, -1}).z, project(camera, {0, 0, -1000}).z), glm::vec2(-1, 1),
               1e-4f);
}

// u = normalise(cross(up, direction)), v = normalise(cross(w, u)), w = -direction.
// Degenerate placements leave no NaN in the camera; a light's camera keeps its view for a new projection.
TEST(CameraPersp, LookAtReplacesUpSetEyeTargetKeepsItEveryPlacementStaysFiniteAndALightKeepsItsView) {
    CameraPersp camera;
    camera.lookAt(glm::vec3(0.0f, 0.0f, 5.0f), glm::vec3(0.0f), glm::vec3(0.0f, 2.0f, 0.0f));
    expectNear(camera.w, glm::vec3(0.0f, 0.0f, 1.0f));
    expectNear(camera.u, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(camera.v, glm::vec3(0.0f, -1.0f, 0.0f));

    const glm::vec3 zUp(0.0f, 0.0f, 1.0f);
    camera.lookAt(glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f), zUp);
    camera.setEyeTarget(glm::vec3(5.0f, 0.0f, 0.0f), glm::vec3(5.0f, 3.0f, 0.0f));
    EXPECT_EQ(camera.worldUp, zUp);
    expectNear(camera.getViewDirection(), glm::vec3(0.0f, 1.0f, 0.0f));
    // Ahead, +z shows up and -x to the left.
    expectNear(glm::vec3(camera.viewMatrix * glm::vec4(4.0f, 10.0f, 1.0f, 1.0f)),
               glm::vec3(-1.0f, 1.0f, -10.0f));

    camera.lookAt(glm::vec3(0.0f, 0.0f, 5.0f), glm::vec3(0.0f), kYUp);
    camera.setEyeTarget(glm::vec3(1.0f, 2.0f, 3.0f), glm::vec3(1.0f, 2.0f, 3.0f));
    expectNear(camera.viewDirection, glm::vec3(0.0f, 0.0f, -1.0f));
    expectNear(camera.u, glm::vec3(-1.0f, 0.0f, 0.0f));
    expectNear(glm::vec3(camera.viewMatrix * glm::vec4(2.0f, 2.0f, 0.0f, 1.0f)),
               glm::vec3(1.0f, 0.0f, -3.0f));

    camera.lookAt(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(10.0f, 49.0f, 0.0f), kYUp);
    EXPECT_EQ(camera.worldUp, kYUp);
    EXPECT_NEAR(glm::length(camera.u), 1.0f, 1e-6f);
    EXPECT_NEAR(glm::dot(camera.u, camera.viewDirection), 0.0f, 1e-6f);
    // A point straight below the eye lies straight ahead.
    expectNear(glm::vec3(camera.viewMatrix * glm::vec4(10.0f, 40.0f, 0.0f, 1.0f)),
               glm::vec3(0.0f, 0.0f, -10.0f), 1e-4f);

    // A light's camera looks the same way, placed once, at construction, and given a projection (aspect
    // 1) later. (The placeholder light has its eye on its target: the set-eye-target case above.)
    Light light(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f));
    EXPECT_EQ(light.camera.worldUp, kYUp);

    const glm::mat4 viewBefore = light.camera.viewMatrix;
    light.setPerspective(40.0f, 100.0f, 1000.0f);
    EXPECT_EQ(light.camera.viewMatrix, viewBefore);
    // 100 and 1000 below are the near and far planes; 200 below and tan(20 degrees) x 200 aside, a corner.
    const CameraPersp& view = light.camera;
    expectNear(glm::vec2(project(view, {10, -50, 0}).z, project(view, {10, -950, 0}).z), glm::vec2(-1, 1),
               1e-4f);
    expectNear(glm::abs(glm::vec2(project(view, {82.794f, -150.0f, 72.794f}))), glm::vec2(1.0f), 1e-4f);
}

// Split distances for near 1, far 1000: logarithmic/uniform blend, each slice 0.5 percent longer. The
// fitted matrices map each slice onto the unit cube, for a moved camera and for a light far from the
// scene. A degenerate camera throws and keeps the last cascades.
TEST(Cascades, SlicesReachTheBlendedSplitsFitTheUnitCubeAndADegenerateCameraKeepsThem) {
    CameraPersp camera;
    camera.createCascades(3);
    EXPECT_EQ(camera.cascadeMatrices, std::vector<glm::mat4>(3, glm::mat4(1.0f)));
    camera.updateCascades(kSunView);
    const float expectedFar[3] = {91.455f, 242.95875f, 1005.0f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(camera.cascadeFrustums[i]->nearDistance, 1.0f);
        EXPECT_NEAR(camera.cascadeFrustums[i]->farDistance, expectedFar[i], expectedFar[i] * 2e-6f);
    }

    camera.lookAt(glm::vec3(10.0f, 40.0f, 60.0f), glm::vec3(0.0f, 35.0f, 0.0f), kYUp);
    camera.updateCascades(kSunView);
    expectEverySliceFitsTheUnitCube(camera, kSunView, 1e-4f);
    const glm::mat4 distantSun = glm::lookAt(glm::vec3(0.0f, 30000.0f, 5000.0f), glm::vec3(0.0f), kYUp);
    camera.updateCascades(distantSun);
    expectEverySliceFitsTheUnitCube(camera, distantSun, 1e-2f);

    const std::vector<glm::mat4> before = camera.cascadeMatrices;
    camera.setPerspective(45.0f, 1.0f, 0.0f, 1000.0f);
    EXPECT_THROW(camera.updateCascades(distantSun), PlaneExc);
    EXPECT_EQ(camera.cascadeMatrices, before);
    EXPECT_NEAR(camera.cascadeFrustums[0]->farDistance, expectedFar[0], expectedFar[0] * 2e-6f);
}

// Corners in the camera's u/v basis: u = (-1, 0, 0) and v = (0, -1, 0) here, so top left is at (+x, -y).
// Boxes are contained, intersecting or rejected. A zero near distance throws and keeps the previous
// frustum, as any plane through degenerate points throws.
TEST(Frustum, CornersFollowTheCameraBasisBoxesAreSortedAndDegeneratePlanesThrowAndKeepThem) {
    // At the origin looking down -z with a 90 degree field of view: inside means 1 <= -z <= 100 and
    // |x|, |y| <= -z.
    CameraPersp camera;
    camera.lookAt(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), kYUp);
    camera.setPerspective(90.0f, 1.0f, 1.0f, 100.0f);
    Frustum frustum(camera);
    expectNear(frustum.nearCorners[0], glm::vec3(1.0f, -1.0f, -1.0f));
    expectNear(frustum.nearCorners[3], glm::vec3(-1.0f, 1.0f, -1.0f));
    expectNear(frustum.farCorners[1], glm::vec3(-100.0f, -100.0f, -100.0f), 1e-3f);

    // Where, the box, whether it is contained and whether it intersects.
    const std::tuple<const char*, BoundingBox, bool, bool> cases[] = {
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
    for (const auto& [where, box, contained, intersects] : cases) {
        EXPECT_EQ(frustum.containsBox(box), contained) << where;
        EXPECT_EQ(frustum.intersectsBox(box), intersects) << where;
    }

    const Frustum before = frustum;
    camera.setPerspective(90.0f, 1.0f, 0.0f, 100.0f);
    EXPECT_THROW(frustum.fromCamera(camera), PlaneExc);
    EXPECT_THROW(frustum.fromCameraSlice(camera, 0.0f, 50.0f), PlaneExc);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(frustum.planes[i].n, before.planes[i].n);
    }
    EXPECT_EQ(frustum.farCorners, before.farCorners);

    // The planes' normals follow the winding and distances are signed; degenerate points throw.
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

// The box around the transformed corners: moved, grown by a turn, never divided by w.
TEST(BoundingBox, TransformedEnclosesTheTransformedCorners) {
    const BoundingBox box(glm::vec3(-1.0f, 0.0f, 2.0f), glm::vec3(3.0f, 1.0f, 5.0f));
    const auto moved = box.transformed(glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, -20.0f, 0.5f)));
    EXPECT_EQ(moved->min, glm::vec3(9.0f, -20.0f, 2.5f));
    EXPECT_EQ(moved->max, glm::vec3(13.0f, -19.0f, 5.5f));

    const auto turned =
        BoundingBox(glm::vec3(-0.5f), glm::vec3(0.5f))
            .transformed(glm::rotate(glm::mat4(1.0f), float(45.0 * 0.017453292), glm::vec3(0, 1, 0)));
    expectNear(turned->max - turned->min, glm::vec3(std::sqrt(2.0f), 1.0f, std::sqrt(2.0f)));

    glm::mat4 w(1.0f);
    w[3][3] = 4.0f;
    const auto undivided = BoundingBox(glm::vec3(1.0f), glm::vec3(2.0f)).transformed(w);
    EXPECT_EQ(undivided->min, glm::vec3(1.0f));
    EXPECT_EQ(undivided->max, glm::vec3(2.0f));
}

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
