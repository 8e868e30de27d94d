// Every generated course looks the way it flies: the drawn terrain lies where the crash test finds the
// ground, every ring floats clear of it, the water is a crash, and the chase camera sees the whole craft.
// The game lists every course of the course list the build wrote, with its par time (that each par is
// the autopilot's own time over its course, the autopilot test checks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/CourseCatalogue.h"
#include "camera/CameraPersp.h"
#include "game/Player.h"
#include "tests/support/GameProcess.h"
#include "tests/tools/SceneFiles.h"

namespace {

// The largest gap between the drawn terrain and the game's ground, over points spread inside every
// triangle (vertices, edges and the inside), where the flat cells of the height image and the slopes of
// the mesh part most.
float largestTerrainGap(const SceneFiles& files) {
    const aiMesh& mesh = files.mesh(files.node("Terrain"));
    const std::vector<glm::vec3> v = files.worldVertices(files.node("Terrain"));
    constexpr int kSteps = 8;
    float largest = 0.0f;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const unsigned* index = mesh.mFaces[f].mIndices;
        for (int a = 0; a <= kSteps; ++a) {
            for (int b = 0; a + b <= kSteps; ++b) {
                const float u = float(a) / kSteps;
                const float w = float(b) / kSteps;
                const glm::vec3 p = v[index[0]] * (1.0f - u - w) + v[index[1]] * u + v[index[2]] * w;
                largest = std::max(largest, std::fabs(p.y - files.ground.groundHeight(p.x, p.z)));
            }
        }
    }
    return largest;
}

// The nearest any vertex of the craft comes to the chase eye, along the view, in level flight: the
// game's own eye point and the camera's own near plane.
float nearestCraftDepth(const SceneFiles& files, float* nearPlane) {
    const aiNode& node = files.node("Player");
    common::scene::Player craft;
    craft.setModelMatrix(common::scene::toGlm(node.mTransformation));
    craft.reset();
    craft.update(0.0);
    common::camera::CameraPersp camera;
    camera.lookAt(craft.cameraEye(), craft.position, glm::vec3(0.0f, 1.0f, 0.0f));
    *nearPlane = camera.nearClip;
    float nearest = 1e9f;
    for (const glm::vec3& v : files.worldVertices(node)) {
        nearest = std::min(nearest, -(camera.viewMatrix * glm::vec4(v, 1.0f)).z);
    }
    return nearest;
}

// The listed length is the line from the start through every ring centre; every ring floats at
// least ten units over the ground under it and a little beyond; no sample of the ground lies deeper
// than the 0.8 the craft may sink under the water's surface, so that touching the water is a crash.
// The game lists each course with its par.
TEST(CourseWorld, TerrainRingsWaterAndCraftFitTheGameOnEveryCourseAndTheGameListsThem) {
    const auto catalogue = common::app::CourseCatalogue::load();
    ASSERT_EQ(catalogue.problem(), "") << "build the skyrings_courses target";
    ASSERT_EQ(catalogue.courses().size(), 4u);
    testsupport::GameProcess::Options listing;
    listing.withDisplay = false;
    listing.argument = "--list-courses";
    testsupport::GameProcess game(listing);
    game.start();
    ASSERT_EQ(game.waitForExit(), 0) << game.err();
    EXPECT_EQ(game.out(), catalogue.listing());
    for (const auto& course : catalogue.courses()) {
        SCOPED_TRACE(course.name);
        const SceneFiles files(course.scenePath, course.heightMapPath);
        ASSERT_TRUE(files.loaded());
        float length = 0.0f;
        float clearance = 1e9f;
        glm::vec3 from(common::scene::toGlm(files.node("Player").mTransformation)[3]);
        for (const SceneFiles::Ring& ring : files.rings()) {
            length += glm::distance(from, ring.centre());
            from = ring.centre();
            clearance = std::min(clearance, ring.centre().y - files.highestGroundUnder(ring));
        }
        const std::vector<float> ground = files.groundSamples();
        const float water = files.worldVertices(files.node("Water")).front().y;
        const float gap = largestTerrainGap(files);
        float nearPlane = 0.0f;
        const float craftDepth = nearestCraftDepth(files, &nearPlane);
        std::printf(
            "[ world    ] %-9s %zu rings, %.0f units, largest gap %.2f, ring clearance %.1f, craft depth "
            "%.3f\n",
            course.name.c_str(), files.rings().size(), course.length, gap, clearance, craftDepth);
        EXPECT_NEAR(course.length, length, 0.01);
        EXPECT_LT(gap, 1.0f);
        EXPECT_GE(clearance, 10.0f);
        EXPECT_LE(water - *std::min_element(ground.begin(), ground.end()), 0.8f);
        EXPECT_GT(craftDepth, nearPlane);
    }
}

}  // namespace
