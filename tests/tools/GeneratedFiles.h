#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <gtest/gtest.h>

// Helpers for the tests of the generated resources: paths as the game opens them (relative to the
// staged bin folder the tests run in) and readers that use the game's own libraries.
namespace generated {

inline const std::string kScene = "../resources/meshes/low_res_Mountain/mountain_player.dae";
inline const std::string kSceneDir = "../resources/meshes/low_res_Mountain";
inline const std::string kRingModel = "../resources/meshes/Circle.dae";
inline const std::string kHeightImage = "../resources/meshes/heightmap.bmp";
inline const std::string kTextureDir = "../resources/textures";

// A picture as FreeImage loads it, turned to 8-bit RGBA rows from the top.
struct Picture {
    bool loaded = false;
    bool hasAlpha = false;  // FreeImage reported an RGBA colour type
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* at(int x, int y) const { return &rgba[(std::size_t(y) * width + x) * 4]; }
    std::uint8_t alpha(int x, int y) const { return at(x, y)[3]; }
};
Picture loadPicture(const std::string& path);

bool isPowerOfTwo(int value);

// The node's own transformation as a column-major matrix, as the game converts it.
glm::mat4 nodeMatrix(const aiNode& node);
// Depth-first, pre-order search by exact name.
const aiNode* findNode(const aiNode& root, const std::string& name);

// A node the game turns into a ring ("Circle") or a finish ring ("FIN").
inline bool isRingName(const std::string& name) {
    return name.find("Circle") != std::string::npos || name.find("FIN") != std::string::npos;
}

// The generated scene file, imported as the game imports it.
class SceneFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scene = importer.ReadFile(kScene, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
        ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    }

    // The first node of that name, which must be a direct child of the root.
    const aiNode& child(const std::string& name) const {
        const aiNode* node = scene->mRootNode->FindNode(name.c_str());
        EXPECT_NE(node, nullptr) << name;
        EXPECT_EQ(node ? node->mParent : nullptr, scene->mRootNode)
            << name << " is not a direct child of the root";
        return node ? *node : *scene->mRootNode;
    }

    Assimp::Importer importer;
    const aiScene* scene = nullptr;
};

}  // namespace generated
