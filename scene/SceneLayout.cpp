#include "scene/SceneLayout.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "scene/AssimpMatrix.h"

namespace common::scene {
namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

glm::vec3 colourOf(const aiColor3D& c) {
    return glm::vec3(c.r, c.g, c.b);
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

// Calls visit(node, mesh) for every mesh of every node, depth first, a node's meshes before its
// children. A mesh index beyond the scene's meshes is skipped.
void forEachNodeMesh(const aiScene& scene, const std::function<void(const aiNode&, const aiMesh&)>& visit) {
    std::function<void(const aiNode*)> walk = [&](const aiNode* node) {
        for (unsigned m = 0; m < node->mNumMeshes; ++m) {
            if (node->mMeshes[m] < scene.mNumMeshes && scene.mMeshes[node->mMeshes[m]]) {
                visit(*node, *scene.mMeshes[node->mMeshes[m]]);
            }
        }
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            walk(node->mChildren[c]);
        }
    };
    if (scene.mRootNode) {
        walk(scene.mRootNode);
    }
}

LayoutMesh meshOf(NodeRole role, const aiNode& node, const aiMesh& mesh, const aiScene& scene,
                  const std::string& scenePath) {
    LayoutMesh entry;
    entry.role = role;
    entry.transform = toGlm(node.mTransformation);
    entry.geometry = MeshGeometry::fromAiMesh(&mesh);
    entry.texturePath = MeshGeometry::diffuseTexturePath(&scene, scenePath, mesh.mMaterialIndex);
    return entry;
}

void readLights(const aiScene& scene, SceneLayout& layout) {
    if (!scene.mLights || !scene.mRootNode) {
        return;
    }
    for (unsigned i = 0; i < scene.mNumLights; ++i) {
        const aiLight& source = *scene.mLights[i];
        const aiNode* node = findNode(scene.mRootNode, source.mName.C_Str());
        if (!node) {
            layout.lightsWithoutNode.emplace_back(source.mName.C_Str());
            continue;
        }
        const glm::mat4 transform = toGlm(node->mTransformation);
        const aiVector3D& p = source.mPosition;
        const aiVector3D& d = source.mDirection;
        LayoutLight light;
        light.position = glm::vec3(transform * glm::vec4(p.x, p.y, p.z, 1.0f));
        light.direction = glm::vec3(transform * glm::vec4(d.x, d.y, d.z, 0.0f));
        light.ambient = colourOf(source.mColorAmbient);
        light.diffuse = colourOf(source.mColorDiffuse);
        light.specular = colourOf(source.mColorSpecular);
        light.attenuationConstant = source.mAttenuationConstant;
        light.attenuationLinear = source.mAttenuationLinear;
        light.attenuationQuadratic = source.mAttenuationQuadratic;
        layout.lights.push_back(light);
    }
}

}  // namespace

NodeRole SceneLayout::roleOf(const std::string& name) {
    if (name == "Player") {
        return NodeRole::Player;
    }
    if (contains(name, "Circle")) {
        return NodeRole::Ring;
    }
    if (contains(name, "FIN")) {
        return NodeRole::FinishRing;
    }
    if (name == "Skybox") {
        return NodeRole::Skybox;
    }
    if (name == "Water") {
        return NodeRole::Water;
    }
    if (name == "Terrain") {
        return NodeRole::Terrain;
    }
    if (contains(name, "Trans")) {
        return NodeRole::DiscTemplate;
    }
    return NodeRole::Plain;
}

SceneLayout SceneLayout::read(const aiScene& scene, const std::string& scenePath) {
    SceneLayout layout;
    forEachNodeMesh(scene, [&](const aiNode& node, const aiMesh& mesh) {
        const NodeRole role = roleOf(node.mName.C_Str());
        switch (role) {
            case NodeRole::Ring:
            case NodeRole::FinishRing: {
                LayoutMesh ring;
                ring.role = role;
                ring.transform = toGlm(node.mTransformation);
                layout.ringTransforms.push_back(ring.transform);
                layout.meshes.push_back(std::move(ring));
                break;
            }
            case NodeRole::DiscTemplate:
                layout.discTemplate = meshOf(role, node, mesh, scene, scenePath);
                break;
            default:
                layout.meshes.push_back(meshOf(role, node, mesh, scene, scenePath));
                break;
        }
    });
    readLights(scene, layout);
    return layout;
}

std::vector<LayoutMesh> SceneLayout::readRingParts(const aiScene& scene, const std::string& modelPath) {
    std::vector<LayoutMesh> parts;
    forEachNodeMesh(scene, [&](const aiNode& node, const aiMesh& mesh) {
        if (node.mName.C_Str() == "part" + std::to_string(parts.size())) {
            parts.push_back(meshOf(NodeRole::Plain, node, mesh, scene, modelPath));
        }
    });
    return parts;
}

RaceCourse SceneLayout::raceCourse() const {
    RaceCourse course;
    for (const LayoutMesh& mesh : meshes) {
        if (mesh.role == NodeRole::Player) {
            course.start = mesh.transform;
        } else if (mesh.role == NodeRole::Ring || mesh.role == NodeRole::FinishRing) {
            course.rings.push_back({mesh.transform, mesh.role == NodeRole::FinishRing});
        }
    }
    return course;
}

void SceneLayout::replaceCourse(const RaceCourse& course) {
    const auto isRing = [](const LayoutMesh& mesh) {
        return mesh.role == NodeRole::Ring || mesh.role == NodeRole::FinishRing;
    };
    meshes.erase(std::remove_if(meshes.begin(), meshes.end(), isRing), meshes.end());
    ringTransforms.clear();
    for (LayoutMesh& mesh : meshes) {
        if (mesh.role == NodeRole::Player) {
            mesh.transform = course.start;
        }
    }
    for (const RaceCourse::Ring& ring : course.rings) {
        LayoutMesh mesh;
        mesh.role = ring.finish ? NodeRole::FinishRing : NodeRole::Ring;
        mesh.transform = ring.transform;
        meshes.push_back(std::move(mesh));
        ringTransforms.push_back(ring.transform);
    }
}

RaceCourse SceneLayout::readRaceCourse(const std::string& scenePath) {
    Assimp::Importer importer;
    const aiScene* file = importer.ReadFile(scenePath, aiProcess_Triangulate);
    if (file == nullptr) {
        throw std::runtime_error("cannot read course " + scenePath + ": " + importer.GetErrorString());
    }
    RaceCourse course = read(*file, scenePath).raceCourse();
    const bool hasFinish = std::any_of(course.rings.begin(), course.rings.end(),
                                       [](const RaceCourse::Ring& ring) { return ring.finish; });
    if (!hasFinish) {
        throw std::runtime_error("course " + scenePath + " has no finish ring");
    }
    return course;
}

}  // namespace common::scene
