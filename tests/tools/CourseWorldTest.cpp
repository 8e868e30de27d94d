// Every generated course looks the way it flies: the drawn terrain lies where the crash test finds the
// ground, every ring floats clear of it, the water is a crash, and the chase camera sees the whole craft.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/geometric.hpp>

#include "camera/CameraPersp.h"
#include "game/Player.h"
#include "scene/AssimpMatrix.h"
#include "terrain/HeightMap.h"
#include "tests/support/CourseManifest.h"

namespace {

using common::scene::HeightMap;

constexpr float kMaxTerrainHeight = 100.0f;

// One course's scene file and height image, read as the game reads them.
class CourseFiles {
  public:
    explicit CourseFiles(const testsupport::ManifestCourse& course) {
        scene = importer.ReadFile(course.scenePath, aiProcess_Triangulate);
        ground.load(kMaxTerrainHeight, course.heightMapPath);
    }

    bool loaded() const { return scene != nullptr && ground.getSize() > 0; }

    // The vertices of the first mesh of the named node, moved by the node's transformation.
    std::vector<glm::vec3> vertices(const aiNode& node, const aiMesh** mesh = nullptr) const {
        const glm::mat4 m = common::scene::toGlm(node.mTransformation);
        const aiMesh& first = *scene->mMeshes[node.mMeshes[0]];
        std::vector<glm::vec3> world;
        for (unsigned i = 0; i < first.mNumVertices; ++i) {
            world.emplace_back(
                m * glm::vec4(first.mVertices[i].x, first.mVertices[i].y, first.mVertices[i].z, 1.0f));
        }
        if (mesh != nullptr) {
            *mesh = &first;
        }
        return world;
    }

    const aiNode& node(const char* name) const { return *scene->mRootNode->FindNode(name); }

    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    HeightMap ground;
};

// The largest gap between the drawn terrain and the game's ground, over points spread inside every
// triangle (vertices, edges and the inside), where the flat cells of the height image and the slopes of
// the mesh part most.
float largestTerrainGap(const CourseFiles& files) {
    const aiMesh* mesh = nullptr;
    const std::vector<glm::vec3> v = files.vertices(files.node("Terrain"), &mesh);
    constexpr int kSteps = 8;
    float largest = 0.0f;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const unsigned* index = mesh->mFaces[f].mIndices;
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

// The least height of a ring's centre over the ground anywhere under the ring and a little beyond;
// counts the rings and measures the line from the start through every ring centre.
float leastRingClearance(const CourseFiles& files, int* rings, float* length) {
    float least = 1e9f;
    *rings = 0;
    *length = 0.0f;
    glm::vec3 from(common::scene::toGlm(files.node("Player").mTransformation)[3]);
    const aiNode& root = *files.scene->mRootNode;
    for (unsigned i = 0; i < root.mNumChildren; ++i) {
        const std::string name = root.mChildren[i]->mName.C_Str();
        const bool finish = name.find("FIN") != std::string::npos;
        if (name.find("Circle") == std::string::npos && !finish) {
            continue;
        }
        ++*rings;
        const glm::vec3 c(common::scene::toGlm(root.mChildren[i]->mTransformation)[3]);
        *length += glm::distance(from, c);
        from = c;
        const float reach = finish ? 9.0f : 3.0f;
        for (float dx = -reach; dx <= reach; dx += 0.5f) {
            for (float dz = -reach; dz <= reach; dz += 0.5f) {
                if (dx * dx + dz * dz <= reach * reach) {
                    least = std::min(least, c.y - files.ground.groundHeight(c.x + dx, c.z + dz));
                }
            }
        }
    }
    return least;
}

// Every sample of the height image, at the middle of its cell: none lies deeper than the 0.8 the craft
// may sink under the water's surface, so touching the water is a crash.
float deepestUnderWater(const CourseFiles& files) {
    const float level = files.vertices(files.node("Water")).front().y;
    float lowest = 1e9f;
    for (float x = 0.25f; x < 512.0f; x += 0.5f) {
        for (float z = -0.25f; z > -513.0f; z -= 0.5f) {
            lowest = std::min(lowest, files.ground.groundHeight(x, z));
        }
    }
    return level - lowest;
}

// The nearest any vertex of the craft comes to the chase eye, along the view, in level flight: the
// game's own eye point and the camera's own near plane.
float nearestCraftDepth(const CourseFiles& files, float* nearPlane) {
    const aiNode& node = files.node("Player");
    common::scene::Player craft;
    craft.setModelMatrix(common::scene::toGlm(node.mTransformation));
    craft.reset();
    craft.update(0.0);
    common::camera::CameraPersp camera;
    camera.lookAt(craft.cameraEye(), craft.position, glm::vec3(0.0f, 1.0f, 0.0f));
    *nearPlane = camera.nearClip;
    float nearest = 1e9f;
    for (const glm::vec3& v : files.vertices(node)) {
        nearest = std::min(nearest, -(camera.viewMatrix * glm::vec4(v, 1.0f)).z);
    }
    return nearest;
}

TEST(CourseWorld, TerrainRingsWaterAndCraftFitTheGameOnEveryCourse) {
    const auto courses = testsupport::readCourseManifest();
    ASSERT_GE(courses.size(), 4u);
    for (const auto& course : courses) {
        SCOPED_TRACE(course.name);
        const CourseFiles files(course);
        ASSERT_TRUE(files.loaded());
        int rings = 0;
        float length = 0.0f;
        const float gap = largestTerrainGap(files);
        const float clearance = leastRingClearance(files, &rings, &length);
        float nearPlane = 0.0f;
        const float craftDepth = nearestCraftDepth(files, &nearPlane);
        float lowest = 1e9f;
        float highest = -1e9f;
        for (const glm::vec3& v : files.vertices(files.node("Terrain"))) {
            lowest = std::min(lowest, v.y);
            highest = std::max(highest, v.y);
        }
        std::printf(
            "[ world    ] %-9s %d rings, %.0f units, terrain %.1f to %.1f, largest gap %.2f, "
            "ring clearance %.1f, craft depth %.3f\n",
            course.name.c_str(), rings, course.length, lowest, highest, gap, clearance, craftDepth);
        EXPECT_NEAR(course.length, length, 0.01);
        EXPECT_LT(gap, 1.0f);
        EXPECT_GE(clearance, 10.0f);
        EXPECT_LE(deepestUnderWater(files), 0.8f);
        EXPECT_GT(craftDepth, nearPlane);
    }
}

}  // namespace
