#include "scene/MeshGeometry.h"

#include <assimp/material.h>
#include <assimp/scene.h>

namespace common::scene {

MeshGeometry MeshGeometry::fromAiMesh(const aiMesh* mesh) {
    MeshGeometry geometry;
    auto& [positions, normals, uvs, indices, boundsMin, boundsMax] = geometry;
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
        // Meshes of points or lines get no generated normals; give them a harmless one.
        normals.push_back(mesh->mNormals
                              ? glm::vec3(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z)
                              : glm::vec3(0.0f, 1.0f, 0.0f));
        uvs.push_back(uvChannel ? glm::vec2(uvChannel[i].x, uvChannel[i].y) : glm::vec2(0.0f));
    }
    // Triangulation leaves point and line faces alone; they have fewer than three indices to read.
    indices.reserve(std::size_t(mesh->mNumFaces) * 3);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices < 3) {
            continue;
        }
        indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
    return geometry;
}

std::string MeshGeometry::diffuseTexturePath(const aiScene* scene, const std::string& scenePath,
                                             unsigned materialIndex) {
    if (!scene || materialIndex >= scene->mNumMaterials) {
        return "";
    }
    const aiMaterial* material = scene->mMaterials[materialIndex];
    if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) == 0) {
        return "";
    }
    aiString path;
    if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &path, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr) != aiReturn_SUCCESS) {
        return "";
    }
    return directoryOf(scenePath) + "/" + path.C_Str();
}

std::string MeshGeometry::directoryOf(const std::string& scenePath) {
    const std::size_t slash = scenePath.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return scenePath.substr(0, slash);
}

}  // namespace common::scene
