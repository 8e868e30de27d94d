#include "tests/support/SceneBuilder.h"

#include <algorithm>

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>

namespace testsupport {
namespace {

aiMatrix4x4 toAssimp(const glm::mat4& m) {
    // GLM is column-major, Assimp row-major.
    return aiMatrix4x4(m[0][0], m[1][0], m[2][0], m[3][0], m[0][1], m[1][1], m[2][1], m[3][1], m[0][2],
                       m[1][2], m[2][2], m[3][2], m[0][3], m[1][3], m[2][3], m[3][3]);
}

aiMesh* makeMesh(const SceneBuilder::MeshShape& shape) {
    auto* mesh = new aiMesh();
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = shape.material;
    mesh->mNumVertices = static_cast<unsigned>(shape.positions.size());
    mesh->mVertices = new aiVector3D[mesh->mNumVertices];
    mesh->mNormals = new aiVector3D[mesh->mNumVertices];
    if (!shape.uvs.empty()) {
        mesh->mTextureCoords[0] = new aiVector3D[mesh->mNumVertices];
        mesh->mNumUVComponents[0] = 2;
    }
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        mesh->mVertices[i] = aiVector3D(shape.positions[i].x, shape.positions[i].y, shape.positions[i].z);
        mesh->mNormals[i] = aiVector3D(0, 1, 0);
        if (mesh->mTextureCoords[0]) {
            mesh->mTextureCoords[0][i] = aiVector3D(shape.uvs[i].x, shape.uvs[i].y, 0);
        }
    }
    mesh->mNumFaces = static_cast<unsigned>(shape.faces.size());
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = static_cast<unsigned>(shape.faces[f].size());
        face.mIndices = new unsigned[face.mNumIndices];
        std::copy(shape.faces[f].begin(), shape.faces[f].end(), face.mIndices);
    }
    return mesh;
}

aiMaterial* makeMaterial(const std::vector<std::string>& textures) {
    auto* material = new aiMaterial();
    const aiColor3D white(1, 1, 1);
    material->AddProperty(&white, 1, AI_MATKEY_COLOR_DIFFUSE);
    for (unsigned i = 0; i < textures.size(); ++i) {
        aiString path(textures[i]);
        material->AddProperty(&path, AI_MATKEY_TEXTURE_DIFFUSE(i));
    }
    return material;
}

}  // namespace

SceneBuilder::SceneBuilder() : materials_(1) {}

unsigned SceneBuilder::addMaterial(const std::vector<std::string>& diffuseTextures) {
    materials_.push_back(diffuseTextures);
    return static_cast<unsigned>(materials_.size() - 1);
}

unsigned SceneBuilder::addMesh(const MeshShape& mesh) {
    meshes_.push_back(mesh);
    return static_cast<unsigned>(meshes_.size() - 1);
}

void SceneBuilder::addNode(const std::string& name, const glm::mat4& transform,
                           const std::vector<unsigned>& meshes, const std::string& parent) {
    nodes_.push_back({name, transform, meshes, parent});
}

void SceneBuilder::addLight(const std::string& name) {
    lights_.push_back(name);
}

std::unique_ptr<aiScene> SceneBuilder::build() const {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("Root");
    scene->mNumMaterials = static_cast<unsigned>(materials_.size());
    scene->mMaterials = new aiMaterial*[scene->mNumMaterials];
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        scene->mMaterials[i] = makeMaterial(materials_[i]);
    }
    scene->mNumMeshes = static_cast<unsigned>(meshes_.size());
    scene->mMeshes = new aiMesh*[scene->mNumMeshes];
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        scene->mMeshes[i] = makeMesh(meshes_[i]);
    }
    for (const NodeEntry& shape : nodes_) {
        auto* node = new aiNode(shape.name);
        node->mTransformation = toAssimp(shape.transform);
        node->mNumMeshes = static_cast<unsigned>(shape.meshes.size());
        node->mMeshes = new unsigned[node->mNumMeshes];
        std::copy(shape.meshes.begin(), shape.meshes.end(), node->mMeshes);
        aiNode* parent = scene->mRootNode->FindNode(shape.parent.c_str());
        (shape.parent.empty() || !parent ? scene->mRootNode : parent)->addChildren(1, &node);
    }
    if (!lights_.empty()) {
        scene->mNumLights = static_cast<unsigned>(lights_.size());
        scene->mLights = new aiLight*[scene->mNumLights];
        for (unsigned i = 0; i < scene->mNumLights; ++i) {
            auto* light = new aiLight();
            light->mName = aiString(lights_[i]);
            light->mType = aiLightSource_DIRECTIONAL;
            light->mColorDiffuse = aiColor3D(1, 1, 1);
            light->mDirection = aiVector3D(0, 0, -1);
            scene->mLights[i] = light;
        }
    }
    return scene;
}

bool SceneBuilder::write(const std::filesystem::path& path) const {
    std::filesystem::create_directories(path.parent_path());
    const std::unique_ptr<aiScene> scene = build();
    // COLLADA, as the game's files are; Assimp's own binary format for scenes COLLADA cannot hold
    // (a light that no node carries).
    const char* format = path.extension() == ".assbin" ? "assbin" : "collada";
    Assimp::Exporter exporter;
    return exporter.Export(scene.get(), format, path.string()) == AI_SUCCESS;
}

SceneBuilder::MeshShape SceneBuilder::triangle(const glm::vec3& offset) {
    MeshShape mesh;
    mesh.positions = {offset + glm::vec3(0, 0, 0), offset + glm::vec3(1, 0, 0), offset + glm::vec3(0, 1, 0)};
    mesh.uvs = {{0, 0}, {1, 0}, {0, 1}};
    mesh.faces = {{0, 1, 2}};
    return mesh;
}

SceneBuilder::MeshShape SceneBuilder::box(const glm::vec3& min, const glm::vec3& max) {
    MeshShape mesh;
    for (int i = 0; i < 8; ++i) {
        mesh.positions.push_back(
            glm::vec3(i & 1 ? max.x : min.x, i & 2 ? max.y : min.y, i & 4 ? max.z : min.z));
        mesh.uvs.push_back(glm::vec2(i & 1, (i >> 1) & 1));
    }
    mesh.faces = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                  {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    return mesh;
}

}  // namespace testsupport
