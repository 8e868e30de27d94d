#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include "scene/AssimpMatrix.h"
#include "terrain/HeightMap.h"

// A generated scene file and the height image under it, read as the game reads them: the scene with the
// game's import flags, the ground (when a path is given) with mountains up to 100 units, two samples a
// unit.
class SceneFiles {
  public:
    // A node the game turns into a ring ("Circle") or a finish ring ("FIN").
    struct Ring {
        std::string name;
        glm::mat4 matrix;
        bool finish;
        glm::vec3 centre() const { return glm::vec3(matrix[3]); }
    };

    SceneFiles(const std::string& scenePath, const std::string& heightMapPath = "") {
        scene = importer.ReadFile(scenePath, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
        if (!heightMapPath.empty()) {
            ground.load(100.0f, heightMapPath);
        }
    }

    bool loaded() const { return scene != nullptr && ground.getSize() > 0; }
    const aiNode& node(const char* name) const { return *scene->mRootNode->FindNode(name); }
    const aiMesh& mesh(const aiNode& node) const { return *scene->mMeshes[node.mMeshes[0]]; }

    // Every vertex of the node's first mesh, moved by the node's own transformation.
    std::vector<glm::vec3> worldVertices(const aiNode& node) const {
        const glm::mat4 m = common::scene::toGlm(node.mTransformation);
        std::vector<glm::vec3> vertices;
        for (unsigned i = 0; i < mesh(node).mNumVertices; ++i) {
            const aiVector3D& v = mesh(node).mVertices[i];
            vertices.emplace_back(m * glm::vec4(v.x, v.y, v.z, 1.0f));
        }
        return vertices;
    }

    // The ring nodes in file order, which is course order.
    std::vector<Ring> rings() const {
        std::vector<Ring> found;
        for (unsigned i = 0; i < scene->mRootNode->mNumChildren; ++i) {
            const aiNode& child = *scene->mRootNode->mChildren[i];
            const std::string name = child.mName.C_Str();
            if (name.find("Circle") != std::string::npos || name.find("FIN") != std::string::npos) {
                found.push_back({name, common::scene::toGlm(child.mTransformation),
                                 name.find("Circle") == std::string::npos});
            }
        }
        return found;
    }

    // The highest ground anywhere under the ring and a little beyond.
    float highestGroundUnder(const Ring& ring) const {
        const float reach = ring.finish ? 9.0f : 3.0f;
        float highest = -1e9f;
        for (float dx = -reach; dx <= reach; dx += 0.5f) {
            for (float dz = -reach; dz <= reach; dz += 0.5f) {
                if (dx * dx + dz * dz <= reach * reach) {
                    highest =
                        std::max(highest, ground.groundHeight(ring.centre().x + dx, ring.centre().z + dz));
                }
            }
        }
        return highest;
    }

    // Every sample of the height image, read at the middle of its half-unit cell (the top row lies
    // beyond z = -512).
    std::vector<float> groundSamples() const {
        std::vector<float> samples;
        for (float x = 0.25f; x < 512.0f; x += 0.5f) {
            for (float z = -0.25f; z > -513.0f; z -= 0.5f) {
                samples.push_back(ground.groundHeight(x, z));
            }
        }
        return samples;
    }

    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    common::scene::HeightMap ground;
};
