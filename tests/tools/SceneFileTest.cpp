// The generated scene file read as the game reads it: node roles, light, materials, craft, discs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <assimp/material.h>
#include <glm/geometric.hpp>

#include "tests/tools/GeneratedFiles.h"

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

using SceneFile = generated::SceneFileTest;

}  // namespace

// The game draws terrain, water and sky in file order: the terrain first lets depth testing skip the
// water and sky it hides, and sets up the shadows that the water's program then uses in the same frame.
TEST_F(SceneFile, EveryNodeHasARoleTheLandscapeComesFrontToBackAndTheRingsEndWithTheFinish) {
    for (const char* role : {"Terrain", "Water", "Skybox", "Player", "Trans"}) {
        EXPECT_GE(child(role).mNumMeshes, 1u) << role;
    }
    int rings = 0;
    int finishes = 0;
    std::string lastRing;
    std::vector<std::string> environment;
    const aiNode& root = *scene->mRootNode;
    for (unsigned i = 0; i < root.mNumChildren; ++i) {
        const aiNode& node = *root.mChildren[i];
        const std::string name = node.mName.C_Str();
        EXPECT_EQ(node.mNumChildren, 0u) << name;
        if (generated::isRingName(name)) {
            EXPECT_GE(node.mNumMeshes, 1u) << name << " needs a mesh to become a ring";
            (contains(name, "Circle") ? rings : finishes) += 1;
            lastRing = name;
        } else if (name == "Terrain" || name == "Water" || name == "Skybox") {
            environment.push_back(name);
        } else if (node.mNumMeshes > 0) {
            // Anything else with a mesh would load as an unknown mesh.
            EXPECT_TRUE(name == "Player" || contains(name, "Trans")) << name;
        }
    }
    EXPECT_GE(rings, 24);
    EXPECT_GE(finishes, 1);
    EXPECT_GE(rings + finishes, 25) << "fewer than 25 rings get no transparent discs";
    EXPECT_EQ(lastRing, "FIN");
    EXPECT_EQ(environment, (std::vector<std::string>{"Terrain", "Water", "Skybox"}));
}

TEST_F(SceneFile, TheSunShinesDownAtASlantFromHighAboveOneSide) {
    ASSERT_GE(scene->mNumLights, 1u);
    const aiLight& light = *scene->mLights[0];
    const aiNode* node = generated::findNode(*scene->mRootNode, light.mName.C_Str());
    ASSERT_NE(node, nullptr) << light.mName.C_Str();
    const glm::mat4 n = generated::nodeMatrix(*node);
    const glm::vec3 position = n * glm::vec4(light.mPosition.x, light.mPosition.y, light.mPosition.z, 1.0f);
    const glm::vec3 direction = glm::normalize(
        glm::vec3(n * glm::vec4(light.mDirection.x, light.mDirection.y, light.mDirection.z, 0.0f)));

    EXPECT_GT(position.y, 200.0f);
    EXPECT_TRUE(position.x < 0.0f || position.x > 512.0f || position.z > 0.0f || position.z < -512.0f);
    EXPECT_LT(direction.y, -0.3f);
    EXPECT_GT(direction.y, -0.95f) << "light straight down leaves the light view undefined";
    // Aimed at the island: its ray reaches the ground inside the landscape.
    const glm::vec3 ground = position + direction * ((20.0f - position.y) / direction.y);
    EXPECT_GT(ground.x, 100.0f);
    EXPECT_LT(ground.x, 412.0f);
    EXPECT_GT(ground.z, -412.0f);
    EXPECT_LT(ground.z, -100.0f);
}

TEST_F(SceneFile, EveryMaterialTextureLiesBesideTheSceneAndLoads) {
    int textured = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMaterial* material = scene->mMaterials[scene->mMeshes[i]->mMaterialIndex];
        if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) == 0) {
            continue;
        }
        aiString path;
        ASSERT_EQ(aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &path), aiReturn_SUCCESS);
        const std::string name = path.C_Str();
        EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << name << " should be a plain file name";
        const generated::Picture picture = generated::loadPicture(generated::kSceneDir + "/" + name);
        ASSERT_TRUE(picture.loaded) << name;
        EXPECT_TRUE(generated::isPowerOfTwo(picture.width) && generated::isPowerOfTwo(picture.height))
            << name;
        ++textured;
    }
    EXPECT_GE(textured, 5);  // terrain, water, sky, craft, disc
}

TEST_F(SceneFile, ThePlayerIsASmallLevelCraftFacingTheFirstRing) {
    const aiNode& player = child("Player");
    const glm::mat4 m = generated::nodeMatrix(player);
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            EXPECT_NEAR(m[c][r], c == r ? 1.0f : 0.0f, 1e-5f) << "no rotation or scale";
        }
    }
    const aiMesh& mesh = *scene->mMeshes[player.mMeshes[0]];
    aiVector3D low(1e9f, 1e9f, 1e9f);
    aiVector3D high(-1e9f, -1e9f, -1e9f);
    aiVector3D nose(0.0f, 0.0f, -1e9f);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& v = mesh.mVertices[i];
        low = aiVector3D(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z));
        high = aiVector3D(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z));
        if (v.z > nose.z) {
            nose = v;
        }
    }
    const float wingspan = high.x - low.x;
    EXPECT_GE(wingspan, 0.6f);
    EXPECT_LE(wingspan, 1.0f);
    EXPECT_NEAR(low.x, -high.x, 1e-4f) << "symmetric about its length";
    EXPECT_LT(high.y - low.y, wingspan * 0.5f) << "wings along x, flat along y";
    EXPECT_NEAR(nose.x, 0.0f, 0.01f) << "the nose tip leads along +z on the centre line";
    EXPECT_GT(high.y, -low.y) << "the fin and canopy on top, along +y";

    const glm::vec3 start(m[3]);
    const glm::vec3 firstRing(generated::nodeMatrix(child("Circle"))[3]);
    const glm::vec3 ahead = glm::normalize(glm::vec3(firstRing.x - start.x, 0.0f, firstRing.z - start.z));
    EXPECT_GT(ahead.z, 0.999f) << "the craft starts heading straight for the first ring";
    EXPECT_GT(start.y, 150.0f) << "well clear of the mountains";
}

TEST_F(SceneFile, TheDiscTemplateIsAUnitDiscSeenFromBothSides) {
    const aiNode& trans = child("Trans");
    const aiMesh& mesh = *scene->mMeshes[trans.mMeshes[0]];
    float largest = 0.0f;
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& v = mesh.mVertices[i];
        EXPECT_NEAR(v.y, 0.0f, 1e-6f);
        largest = std::max(largest, std::hypot(v.x, v.z));
    }
    EXPECT_NEAR(largest, 1.0f, 1e-4f);
    int up = 0;
    int down = 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        ASSERT_EQ(face.mNumIndices, 3u);
        const aiVector3D a = mesh.mVertices[face.mIndices[0]];
        const aiVector3D normal =
            (mesh.mVertices[face.mIndices[1]] - a) ^ (mesh.mVertices[face.mIndices[2]] - a);
        (normal.y > 0.0f ? up : down) += 1;
    }
    EXPECT_GT(up, 0);
    EXPECT_EQ(up, down);
}
