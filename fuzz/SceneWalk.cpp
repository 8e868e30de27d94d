#include "fuzz/SceneWalk.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <assimp/material.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

namespace fuzzwalk {
namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

void fail(const char* what) {
    std::fprintf(stderr, "scene walk: %s\n", what);
    std::abort();
}

// Mesh::directoryOf.
std::string directoryOf(const std::string& scenePath) {
    const std::size_t slash = scenePath.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return scenePath.substr(0, slash);
}

// Mesh::loadMaterialTexture, up to the path the texture would be loaded from.
void materialTexture(const aiScene* scene, const std::string& scenePath, unsigned materialIndex,
                     WalkSummary& summary) {
    if (!scene || materialIndex >= scene->mNumMaterials) {
        return;
    }
    const aiMaterial* material = scene->mMaterials[materialIndex];
    if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) == 0) {
        return;
    }
    aiString path;
    if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &path, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr) != aiReturn_SUCCESS) {
        return;
    }
    summary.texturePaths.push_back(directoryOf(scenePath) + "/" + path.C_Str());
}

// Mesh::copyGeometry, then what the upload and draw rely on: every index names a vertex.
void copyGeometry(const aiMesh* mesh, const aiScene* scene, const std::string& scenePath,
                  WalkSummary& summary) {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<std::uint32_t> indices;
    glm::vec3 boundsMin(0.0f);
    glm::vec3 boundsMax(0.0f);
    const unsigned count = mesh->mNumVertices;
    const aiVector3D* uvChannel = mesh->mTextureCoords[0];
    positions.reserve(count);
    normals.reserve(count);
    uvs.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const aiVector3D& p = mesh->mVertices[i];
        const glm::vec3 position(p.x, p.y, p.z);
        boundsMin = glm::min(boundsMin, position);
        boundsMax = glm::max(boundsMax, position);
        positions.push_back(position);
        normals.push_back(mesh->mNormals
                              ? glm::vec3(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z)
                              : glm::vec3(0.0f, 1.0f, 0.0f));
        uvs.push_back(uvChannel ? glm::vec2(uvChannel[i].x, uvChannel[i].y) : glm::vec2(0.0f));
    }
    indices.reserve(std::size_t(mesh->mNumFaces) * 3);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices < 3) {
            continue;
        }
        indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
    for (std::uint32_t index : indices) {
        if (index >= count) {
            fail("a face names a vertex the mesh does not have");
        }
    }
    materialTexture(scene, scenePath, mesh->mMaterialIndex, summary);
    summary.vertices += positions.size();
    summary.indices += indices.size();
}

const aiNode* findNode(const aiNode* node, const std::string& name) {
    if (name == node->mName.C_Str()) {
        return node;
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
        if (const aiNode* found = findNode(node->mChildren[c], name)) {
            return found;
        }
    }
    return nullptr;
}

// SceneController::processNode and addNodeMesh.
void processNode(const aiScene* scene, const aiNode* node, const std::string& scenePath,
                 WalkSummary& summary) {
    for (unsigned m = 0; m < node->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[node->mMeshes[m]];
        const std::string name = node->mName.C_Str();
        if (name == "Player") {
            summary.hasPlayer = true;
            copyGeometry(mesh, scene, scenePath, summary);
            ++summary.objects;
        } else if (contains(name, "Circle") || contains(name, "FIN")) {
            ++summary.rings;  // a ring loads its own model; the node's mesh is not used
        } else if (name == "Skybox" || name == "Water" || name == "Terrain" || !contains(name, "Trans")) {
            copyGeometry(mesh, scene, scenePath, summary);
            ++summary.objects;
        } else {
            copyGeometry(mesh, scene, scenePath, summary);  // the disc template, copied once per ring
        }
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
        processNode(scene, node->mChildren[c], scenePath, summary);
    }
}

// SceneController::loadLights: the node search for each light (the matrix maths cannot fail).
void loadLights(const aiScene* scene, WalkSummary& summary) {
    if (!scene->mLights || scene->mNumLights == 0) {
        return;
    }
    for (unsigned i = 0; i < scene->mNumLights; ++i) {
        const aiLight* source = scene->mLights[i];
        const aiNode* node = findNode(scene->mRootNode, source->mName.C_Str());
        if (!node) {
            continue;
        }
        ++summary.lights;
    }
}

// CircleCheckpoint::loadParts, as if this file were the ring model.
void loadRingParts(const aiScene* scene, const std::string& scenePath, WalkSummary& summary) {
    int partCounter = 0;
    std::function<void(const aiNode*)> visit = [&](const aiNode* node) {
        for (unsigned m = 0; m < node->mNumMeshes; ++m) {
            const std::string expected = "part" + std::to_string(partCounter);
            if (node->mName.C_Str() == expected) {
                const aiMesh* mesh = scene->mMeshes[node->mMeshes[m]];
                copyGeometry(mesh, scene, scenePath, summary);
                ++partCounter;
            }
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            visit(node->mChildren[c]);
        }
    };
    visit(scene->mRootNode);
    summary.parts = static_cast<std::size_t>(partCounter);
}

}  // namespace

WalkSummary walkScene(const aiScene* scene, const std::string& scenePath) {
    WalkSummary summary;
    if (!scene->mRootNode) {
        fail("an imported scene without a root node");
    }
    processNode(scene, scene->mRootNode, scenePath, summary);
    loadLights(scene, summary);
    loadRingParts(scene, scenePath, summary);
    return summary;
}

}  // namespace fuzzwalk
