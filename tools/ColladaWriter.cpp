#include "tools/ColladaWriter.h"

#include <fstream>
#include <memory>
#include <stdexcept>

#include <assimp/Exporter.hpp>
#include <assimp/material.h>
#include <assimp/scene.h>

namespace common::assetgen {

namespace {

aiVector3D toAi(const glm::dvec3& v) {
    return aiVector3D(float(v.x), float(v.y), float(v.z));
}

// Assimp keeps matrices row-major; glm's are column-major.
aiMatrix4x4 toAi(const glm::dmat4& m) {
    return aiMatrix4x4(float(m[0][0]), float(m[1][0]), float(m[2][0]), float(m[3][0]),  //
                       float(m[0][1]), float(m[1][1]), float(m[2][1]), float(m[3][1]),  //
                       float(m[0][2]), float(m[1][2]), float(m[2][2]), float(m[3][2]),  //
                       float(m[0][3]), float(m[1][3]), float(m[2][3]), float(m[3][3]));
}

aiMesh* buildMesh(const std::string& name, const MeshData& data, int material) {
    auto* mesh = new aiMesh;
    mesh->mName = name;
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mMaterialIndex = unsigned(material);
    mesh->mNumVertices = unsigned(data.vertexCount());
    mesh->mVertices = new aiVector3D[mesh->mNumVertices];
    mesh->mNormals = new aiVector3D[mesh->mNumVertices];
    mesh->mTextureCoords[0] = new aiVector3D[mesh->mNumVertices];
    mesh->mNumUVComponents[0] = 2;
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        mesh->mVertices[i] = toAi(data.positions()[i]);
        mesh->mNormals[i] = toAi(data.normals()[i]);
        mesh->mTextureCoords[0][i] = aiVector3D(float(data.uvs()[i].x), float(data.uvs()[i].y), 0.0f);
    }
    mesh->mNumFaces = unsigned(data.triangleCount());
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = 3;
        face.mIndices = new unsigned[3];
        for (int k = 0; k < 3; ++k) {
            face.mIndices[k] = data.triangles()[f][k];
        }
    }
    return mesh;
}

// The exporter stamps the file with the current time; a fixed stamp keeps the output reproducible.
void fixTimestamps(std::string& text) {
    for (const std::string tag : {"created", "modified"}) {
        const std::string open = "<" + tag + ">";
        const std::string close = "</" + tag + ">";
        const auto begin = text.find(open);
        const auto end = text.find(close);
        if (begin != std::string::npos && end != std::string::npos && end > begin) {
            text.replace(begin + open.size(), end - begin - open.size(), "2000-01-01T00:00:00");
        }
    }
}

}  // namespace

int ColladaWriter::addMaterial(const std::string& name, const std::string& texture,
                               const glm::dvec3& diffuse) {
    materials_.push_back({name, texture, diffuse});
    return int(materials_.size() - 1);
}

int ColladaWriter::addMesh(const std::string& name, const MeshData& mesh, int material) {
    meshes_.push_back({name, mesh, material});
    return int(meshes_.size() - 1);
}

void ColladaWriter::addNode(const std::string& name, const glm::dmat4& transform,
                            const std::vector<int>& meshes) {
    nodes_.push_back({name, transform, meshes});
}

void ColladaWriter::addLight(const std::string& name, const glm::dmat4& transform, const glm::dvec3& colour) {
    nodes_.push_back({name, transform, {}});
    lights_.push_back({name, colour});
}

void ColladaWriter::write(const std::string& path) const {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("Scene");

    scene->mNumMaterials = unsigned(materials_.size());
    scene->mMaterials = new aiMaterial*[scene->mNumMaterials];
    for (std::size_t i = 0; i < materials_.size(); ++i) {
        auto* material = new aiMaterial;
        const aiString name(materials_[i].name);
        material->AddProperty(&name, AI_MATKEY_NAME);
        const aiColor4D diffuse(float(materials_[i].diffuse.r), float(materials_[i].diffuse.g),
                                float(materials_[i].diffuse.b), 1.0f);
        material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
        if (!materials_[i].texture.empty()) {
            const aiString texture(materials_[i].texture);
            material->AddProperty(&texture, AI_MATKEY_TEXTURE_DIFFUSE(0));
        }
        scene->mMaterials[i] = material;
    }

    scene->mNumMeshes = unsigned(meshes_.size());
    scene->mMeshes = new aiMesh*[scene->mNumMeshes];
    for (std::size_t i = 0; i < meshes_.size(); ++i) {
        scene->mMeshes[i] = buildMesh(meshes_[i].name, meshes_[i].data, meshes_[i].material);
    }

    aiNode* root = scene->mRootNode;
    root->mNumChildren = unsigned(nodes_.size());
    root->mChildren = new aiNode*[root->mNumChildren];
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        auto* node = new aiNode(nodes_[i].name);
        node->mParent = root;
        node->mTransformation = toAi(nodes_[i].transform);
        node->mNumMeshes = unsigned(nodes_[i].meshes.size());
        if (node->mNumMeshes > 0) {
            node->mMeshes = new unsigned[node->mNumMeshes];
            for (unsigned k = 0; k < node->mNumMeshes; ++k) {
                node->mMeshes[k] = unsigned(nodes_[i].meshes[k]);
            }
        }
        root->mChildren[i] = node;
    }

    if (!lights_.empty()) {
        scene->mNumLights = unsigned(lights_.size());
        scene->mLights = new aiLight*[scene->mNumLights];
        for (std::size_t i = 0; i < lights_.size(); ++i) {
            auto* light = new aiLight;
            light->mName = lights_[i].name;
            light->mType = aiLightSource_DIRECTIONAL;
            light->mDirection = aiVector3D(0.0f, 0.0f, -1.0f);
            const glm::dvec3& c = lights_[i].colour;
            light->mColorDiffuse = aiColor3D(float(c.r), float(c.g), float(c.b));
            light->mColorSpecular = light->mColorDiffuse;
            light->mColorAmbient = aiColor3D(0.0f, 0.0f, 0.0f);
            scene->mLights[i] = light;
        }
    }

    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(scene.get(), "collada");
    if (blob == nullptr) {
        throw std::runtime_error("cannot export " + path + ": " + exporter.GetErrorString());
    }
    std::string text(static_cast<const char*>(blob->data), blob->size);
    fixTimestamps(text);
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), std::streamsize(text.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace common::assetgen
