// The ring model read as a ring reads it: parts part0 to part7 in walk order, inside the +-9 box.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/geometric.hpp>

#include "tests/tools/GeneratedFiles.h"

TEST(RingModel, YieldsEightPartsInWalkOrderFormingARingInsideTheBox) {
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFile(generated::kRingModel, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();

    // The walk the ring does: a node's meshes, then its children, depth first.
    std::vector<const aiNode*> withMeshes;
    const std::function<void(const aiNode&)> walk = [&](const aiNode& node) {
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            withMeshes.push_back(&node);
        }
        for (unsigned i = 0; i < node.mNumChildren; ++i) {
            walk(*node.mChildren[i]);
        }
    };
    walk(*scene->mRootNode);
    ASSERT_EQ(withMeshes.size(), 8u);

    for (std::size_t part = 0; part < withMeshes.size(); ++part) {
        const aiNode& node = *withMeshes[part];
        EXPECT_EQ(std::string(node.mName.C_Str()), "part" + std::to_string(part));
        const glm::mat4 m = generated::nodeMatrix(node);
        // Each part tumbles about its own x axis, which points away from the ring's centre.
        const glm::vec3 middle(m[3]);
        EXPECT_GT(glm::dot(glm::normalize(glm::vec3(m[0])), glm::normalize(middle)), 0.99f);
        const aiMesh& mesh = *scene->mMeshes[node.mMeshes[0]];
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D& local = mesh.mVertices[i];
            const glm::vec3 v = m * glm::vec4(local.x, local.y, local.z, 1.0f);
            ASSERT_TRUE(std::fabs(v.x) < 9.0f && std::fabs(v.y) < 9.0f && std::fabs(v.z) < 9.0f)
                << "part " << part;
            // A torus of radius 8 in the xz-plane (end caps reach in to its core).
            ASSERT_LE(std::hypot(std::hypot(v.x, v.z) - 8.0f, v.y), 0.8f) << "part " << part;
        }
        aiString texture;
        const aiMaterial* material = scene->mMaterials[mesh.mMaterialIndex];
        if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &texture) == aiReturn_SUCCESS) {
            EXPECT_TRUE(generated::loadPicture(std::string("../resources/meshes/") + texture.C_Str()).loaded);
        }
    }
}
