// The landscape as the game uses it: the drawn terrain against the height image the crash test reads,
// the water, the sky's reach, and the ring course.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <CImg.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "tests/tools/GeneratedFiles.h"

namespace {

constexpr float kDegree = 0.017453292f;

class World : public generated::SceneFileTest {
  protected:
    void SetUp() override {
        generated::SceneFileTest::SetUp();
        heights.load(generated::kHeightImage.c_str());
        ASSERT_EQ(heights.width(), 1024);
        ASSERT_EQ(heights.height(), 1024);
    }

    // The ground height at a world position, mapped as the game maps it (clamped to the picture).
    float ground(float x, float z) const {
        const int size = heights.width();
        const int column = std::clamp(int(x * 2.0f), 0, size - 1);
        const int row = std::clamp(size - int(-z * 2.0f), 0, size - 1);
        return heights(column, row, 0, 0) * 100.0f / 255.0f;
    }

    // Every vertex of the node's first mesh, moved by the node's own transformation.
    std::vector<glm::vec3> worldVertices(const aiNode& n) const {
        const glm::mat4 m = generated::nodeMatrix(n);
        const aiMesh& mesh = *scene->mMeshes[n.mMeshes[0]];
        std::vector<glm::vec3> vertices;
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D& v = mesh.mVertices[i];
            vertices.emplace_back(m * glm::vec4(v.x, v.y, v.z, 1.0f));
        }
        return vertices;
    }

    struct Ring {
        std::string name;
        glm::mat4 matrix;
        glm::vec3 centre() const { return glm::vec3(matrix[3]); }
        bool finish() const { return name.find("Circle") == std::string::npos; }
    };
    // The ring nodes in file order, which is course order.
    std::vector<Ring> rings() const {
        std::vector<Ring> result;
        const aiNode& root = *scene->mRootNode;
        for (unsigned i = 0; i < root.mNumChildren; ++i) {
            const std::string name = root.mChildren[i]->mName.C_Str();
            if (generated::isRingName(name)) {
                result.push_back({name, generated::nodeMatrix(*root.mChildren[i])});
            }
        }
        return result;
    }

    cimg_library::CImg<unsigned char> heights;
};

}  // namespace

TEST_F(World, TheTerrainMeshStandsOnTheHeightImageAtEveryVertex) {
    const aiNode& terrain = child("Terrain");
    const aiMesh& mesh = *scene->mMeshes[terrain.mMeshes[0]];
    // What software rendering affords: a 128 x 128 grid at most.
    EXPECT_LE(mesh.mNumFaces, 2u * 128u * 128u);
    EXPECT_GT(mesh.mNumFaces, 30000u);
    glm::vec2 lowest(1e9f);
    glm::vec2 highest(-1e9f);
    for (const glm::vec3& v : worldVertices(terrain)) {
        ASSERT_NEAR(v.y, ground(v.x, v.z), 0.01f) << "at x " << v.x << ", z " << v.z;
        // Well inside a sample cell, so rounding cannot pick a neighbouring sample.
        const float fx = v.x * 2.0f - std::floor(v.x * 2.0f);
        const float fz = -v.z * 2.0f - std::floor(-v.z * 2.0f);
        ASSERT_TRUE(fx > 0.2f && fx < 0.8f && fz > 0.2f && fz < 0.8f) << v.x << ", " << v.z;
        lowest = glm::min(lowest, glm::vec2(v.x, -v.z));
        highest = glm::max(highest, glm::vec2(v.x, -v.z));
    }
    // The grid reaches every edge of the 512 x 512 landscape to within one grid step.
    EXPECT_LT(glm::max(lowest.x, lowest.y), 4.0f);
    EXPECT_GT(glm::min(highest.x, highest.y), 508.0f);
    // The texture spans the landscape once.
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& uv = mesh.mTextureCoords[0][i];
        ASSERT_TRUE(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f);
    }
}

TEST_F(World, TheWaterCoversTheLandscapeJustAboveTheSeaBed) {
    const std::vector<glm::vec3> water = worldVertices(child("Water"));
    const float level = water.front().y;
    const glm::vec2 centre(256.0f, -256.0f);
    float reach = 0.0f;
    for (const glm::vec3& v : water) {
        ASSERT_NEAR(v.y, level, 1e-4f);
        reach = std::max(reach, glm::length(glm::vec2(v.x, v.z) - centre));
    }
    EXPECT_GT(reach, 400.0f) << "the water runs on past every edge of the landscape";

    // No ground deeper than 0.8 under the surface, so touching the water is a crash; and there is water.
    int underwater = 0;
    for (int row = 0; row < heights.height(); ++row) {
        for (int column = 0; column < heights.width(); ++column) {
            const float h = heights(column, row, 0, 0) * 100.0f / 255.0f;
            ASSERT_GE(h, level - 0.8f) << "column " << column << ", row " << row;
            underwater += h < level ? 1 : 0;
        }
    }
    EXPECT_GT(underwater, heights.width() * heights.height() / 10);
}

TEST_F(World, TheSkyEnclosesEverythingWithinTheFarDistanceAndFacesInwards) {
    const aiNode& sky = child("Skybox");
    const std::vector<glm::vec3> vertices = worldVertices(sky);
    const glm::vec3 centre(generated::nodeMatrix(sky)[3]);
    float nearest = 1e9f;
    for (const glm::vec3& v : vertices) {
        nearest = std::min(nearest, glm::length(v - centre));
    }
    // Anywhere over the landscape up to above the start height: inside the sky and in camera range.
    for (const float x : {0.0f, 512.0f}) {
        for (const float y : {0.0f, 320.0f}) {
            for (const float z : {0.0f, -512.0f}) {
                const glm::vec3 corner(x, y, z);
                EXPECT_LT(glm::length(corner - centre), nearest);
                float farthest = 0.0f;
                for (const glm::vec3& v : vertices) {
                    farthest = std::max(farthest, glm::length(v - corner));
                }
                EXPECT_LT(farthest, 1000.0f) << x << ", " << y << ", " << z;
            }
        }
    }
    // Back faces are culled, so every triangle must wind counter-clockwise seen from inside.
    const aiMesh& mesh = *scene->mMeshes[sky.mMeshes[0]];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        const glm::vec3 a = vertices[face.mIndices[0]];
        const glm::vec3 b = vertices[face.mIndices[1]];
        const glm::vec3 c = vertices[face.mIndices[2]];
        const glm::vec3 normal = glm::cross(b - a, c - a);
        if (glm::length(normal) > 1e-3f) {
            ASSERT_GT(glm::dot(normal, centre - (a + b + c) / 3.0f), 0.0f) << "face " << f;
        }
    }
}

TEST_F(World, TheCourseIsEvenlySpacedGentleAndInsideTheLandscape) {
    const std::vector<Ring> course = rings();
    ASSERT_GE(course.size(), 25u);
    const glm::vec3 start(generated::nodeMatrix(child("Player"))[3]);
    std::vector<glm::vec3> points{start};
    for (const Ring& ring : course) {
        points.push_back(ring.centre());
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        const glm::vec3 leg = points[i] - points[i - 1];
        const float length = glm::length(leg);
        EXPECT_GE(length, 25.0f) << "leg " << i;
        EXPECT_LE(length, 60.0f) << "leg " << i;
        // Gentle slopes between rings; from the start the craft first dives to gather speed.
        const float slope = std::asin(std::fabs(leg.y) / length) / kDegree;
        EXPECT_LE(slope, i == 1 ? 35.0f : 22.0f) << "leg " << i;
        if (i >= 2) {
            const float turn = std::acos(std::clamp(
                glm::dot(glm::normalize(leg), glm::normalize(points[i - 1] - points[i - 2])), -1.0f, 1.0f));
            EXPECT_LE(turn / kDegree, 35.0f) << "turn at ring " << i - 2;
        }
    }
    for (std::size_t i = 0; i < course.size(); ++i) {
        const glm::vec3 c = course[i].centre();
        EXPECT_TRUE(c.x >= 40.0f && c.x <= 472.0f && c.z >= -472.0f && c.z <= -40.0f) << course[i].name;
        // Each ring faces along the course: its local y axis runs from the previous point to the next.
        const glm::vec3 axis = glm::normalize(glm::vec3(course[i].matrix[1]));
        const glm::vec3 through = glm::normalize(points[std::min(i + 2, points.size() - 1)] - points[i]);
        EXPECT_GT(glm::dot(axis, through), 0.9f) << course[i].name;
        const float scale = glm::length(glm::vec3(course[i].matrix[0]));
        EXPECT_NEAR(scale, course[i].finish() ? 1.0f : 0.25f, 1e-4f) << course[i].name;
        EXPECT_NEAR(glm::length(glm::vec3(course[i].matrix[1])), scale, 1e-4f);
        EXPECT_NEAR(glm::length(glm::vec3(course[i].matrix[2])), scale, 1e-4f);
    }
}

TEST_F(World, EveryRingFloatsAtLeastTenUnitsAboveTheGroundAroundIt) {
    for (const Ring& ring : rings()) {
        const glm::vec3 c = ring.centre();
        // The whole ring, and a little more, clears the ground.
        const float reach = ring.finish() ? 9.0f : 3.0f;
        float highest = 0.0f;
        for (float dx = -reach; dx <= reach; dx += 0.5f) {
            for (float dz = -reach; dz <= reach; dz += 0.5f) {
                if (dx * dx + dz * dz <= reach * reach) {
                    highest = std::max(highest, ground(c.x + dx, c.z + dz));
                }
            }
        }
        EXPECT_GE(c.y - highest, 10.0f) << ring.name;
    }
}
