#include "scene/Mesh.h"

#include <algorithm>

#include <GL/glew.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "scene/SceneController.h"

namespace common::scene {

Mesh::~Mesh() {
    releaseGlObjects();
}

void Mesh::releaseGlObjects() {
    if (buffers[0] != 0) {
        glDeleteBuffers(4, buffers);
        std::fill(std::begin(buffers), std::end(buffers), 0u);
    }
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
        vertexArray = 0;
    }
}

void Mesh::update(double /*dt*/) {
    prevModelMatrix = modelMatrix;
}

void Mesh::drawWith(gl::ShaderType type, bool withTexture) {
    gl::GlslProg* program = gl::ShaderController::instance().getShader(type);
    if (!program) {
        return;
    }
    glBindVertexArray(vertexArray);
    program->bind();
    if (withTexture) {
        const glm::mat4& view = SceneController::instance().camera->viewMatrix;
        program->setUniform("invertedTransposedModelViewMatrix",
                            view * glm::transpose(getInverseModelMatrix()));
    }
    program->setUniform("modelMatrix", modelMatrix);
    if (withTexture) {
        program->setUniform("prevModelMatrix", prevModelMatrix);
        if (texture) {
            texture->bind(0);
        }
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    gl::GlslProg::unbind();
    glBindVertexArray(0);
}

void Mesh::draw() {
    drawWith(shaderKey, true);
}

void Mesh::drawDepth() {
    drawWith(gl::ShaderType::ShadowDepthShader, false);
}

void Mesh::setFilterBilinear() {
    if (texture) {
        texture->setFilter(gl::TextureFilter::Bilinear);
    }
}

void Mesh::setFilterNearest() {
    if (texture) {
        texture->setFilter(gl::TextureFilter::Nearest);
    }
}

void Mesh::setMipmapLinear() {
    if (texture) {
        texture->setMipmapMode(gl::MipmapMode::Linear);
    }
}

void Mesh::setMipmapNearest() {
    if (texture) {
        texture->setMipmapMode(gl::MipmapMode::Nearest);
    }
}

void Mesh::setMipmapOff() {
    if (texture) {
        texture->setMipmapMode(gl::MipmapMode::Off);
    }
}

bool Mesh::initFromAiMesh(const aiMesh* mesh, const aiScene* scene, const std::string& scenePath) {
    releaseGlObjects();
    triangleCount = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(4, buffers);

    // The bounds start at the origin, not at the first vertex, so the box always holds the origin.
    glm::vec3 boundsMin(0.0f);
    glm::vec3 boundsMax(0.0f);
    copyGeometry(mesh, boundsMin, boundsMax);
    triangleCount = static_cast<std::int32_t>(indices.size() / 3);

    loadMaterialTexture(scene, scenePath, mesh->mMaterialIndex);
    upload();

    localBox = std::make_unique<camera::BoundingBox>(boundsMin, boundsMax);
    worldBox = localBox->transformed(modelMatrix);
    return true;
}

void Mesh::copyGeometry(const aiMesh* mesh, glm::vec3& boundsMin, glm::vec3& boundsMax) {
    const unsigned count = mesh->mNumVertices;
    const aiVector3D* uvChannel = mesh->mTextureCoords[0];
    positions.reserve(positions.size() + count);
    normals.reserve(normals.size() + count);
    uvs.reserve(uvs.size() + count);
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
    indices.reserve(indices.size() + std::size_t(mesh->mNumFaces) * 3);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices < 3) {
            continue;
        }
        indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
}

void Mesh::upload() {
    auto uploadAttribute = [](GLuint buffer, GLuint location, GLint components, GLsizeiptr bytes,
                              const void* data) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_STATIC_DRAW);
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    };
    uploadAttribute(buffers[kPositionBuffer], 0, 3, GLsizeiptr(positions.size() * sizeof(glm::vec3)),
                    positions.data());
    uploadAttribute(buffers[kUvBuffer], 1, 2, GLsizeiptr(uvs.size() * sizeof(glm::vec2)), uvs.data());
    uploadAttribute(buffers[kNormalBuffer], 2, 3, GLsizeiptr(normals.size() * sizeof(glm::vec3)),
                    normals.data());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[kIndexBuffer]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(std::uint32_t)), indices.data(),
                 GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

std::string Mesh::directoryOf(const std::string& scenePath) {
    const std::size_t slash = scenePath.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return scenePath.substr(0, slash);
}

bool Mesh::loadMaterialTexture(const aiScene* scene, const std::string& scenePath, unsigned materialIndex) {
    texture.reset();
    if (!scene || materialIndex >= scene->mNumMaterials) {
        return true;
    }
    const aiMaterial* material = scene->mMaterials[materialIndex];
    if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) == 0) {
        return true;
    }
    aiString path;
    if (aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &path, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr) != aiReturn_SUCCESS) {
        return true;
    }
    const std::string fullPath = directoryOf(scenePath) + "/" + path.C_Str();
    texture = std::make_unique<gl::Texture>(fullPath.c_str(), GL_TEXTURE_2D);
    return true;
}

}  // namespace common::scene
