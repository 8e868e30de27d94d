#include "fuzz/SceneWalk.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <assimp/scene.h>

#include "scene/MeshGeometry.h"

namespace fuzzwalk {
namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

void fail(const char* what) {
    std::fprintf(stderr, "scene walk: %s\n", what);
    std::abort();
}

// Mesh::initFromAiMesh without the upload: the game's own copy, then what the upload and draw rely
// on (every index names a vertex, the lists agree) and the texture path.
void copyGeometry(const aiMesh* mesh, const aiScene* scene, const std::string& scenePath,
                  WalkSummary& summary) {
    const common::scene::MeshGeometry geometry = common::scene::MeshGeometry::fromAiMesh(mesh);
    const std::size_t count = geometry.positions.size();
    if (geometry.normals.size() != count || geometry.uvs.size() != count ||
        geometry.indices.size() % 3 != 0) {
        fail("vertex lists of different lengths or a partial triangle");
    }
    for (std::uint32_t index : geometry.indices) {
        if (index >= count) {
            fail("a face names a vertex the mesh does not have");
        }
    }
    const std::string texture =
        common::scene::MeshGeometry::diffuseTexturePath(scene, scenePath, mesh->mMaterialIndex);
    if (!texture.empty()) {
        summary.texturePaths.push_back(texture);
    }
    summary.vertices += count;
    summary.indices += geometry.indices.size();
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
