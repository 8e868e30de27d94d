#include "scene/Mesh.h"

#include <algorithm>

#include <GL/glew.h>
#include <assimp/scene.h>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "gl/Texture.h"
#include "gl/TextureCache.h"

namespace common::scene {

Mesh::Mesh() = default;

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

// The draw slots take no arguments, so a mesh asks the registry for its program at every draw (the
// registry may have built that program again since), and for the camera's view of this frame.
void Mesh::drawWith(gl::ShaderType type, bool withTexture) {
    const gl::ShaderController& shaders = gl::ShaderController::instance();
    gl::GlslProg* program = shaders.getShader(type);
    if (!program) {
        return;
    }
    glBindVertexArray(vertexArray);
    program->bind();
    if (withTexture) {
        const glm::mat4& view = shaders.frameViewMatrix();
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
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(geometry.indices.size()), GL_UNSIGNED_INT, nullptr);
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
    initFromGeometry(MeshGeometry::fromAiMesh(mesh),
                     MeshGeometry::diffuseTexturePath(scene, scenePath, mesh->mMaterialIndex));
    return true;
}

void Mesh::initFromGeometry(MeshGeometry meshGeometry, const std::string& texturePath,
                            gl::TextureCache* textures) {
    releaseGlObjects();
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(4, buffers);

    geometry = std::move(meshGeometry);
    triangleCount = static_cast<std::int32_t>(geometry.triangleCount());
    loadTexture(texturePath, textures);
    upload();

    localBox = std::make_unique<camera::BoundingBox>(geometry.boundsMin, geometry.boundsMax);
    worldBox = localBox->transformed(modelMatrix);
}

void Mesh::replaceGeometry(MeshGeometry meshGeometry) {
    geometry = std::move(meshGeometry);
    triangleCount = static_cast<std::int32_t>(geometry.triangleCount());
    glBindVertexArray(vertexArray);
    upload();
}

void Mesh::replaceIndices(std::vector<std::uint32_t> indices) {
    geometry.indices = std::move(indices);
    triangleCount = static_cast<std::int32_t>(geometry.triangleCount());
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[kIndexBuffer]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(geometry.indices.size() * sizeof(std::uint32_t)),
                 geometry.indices.data(), GL_DYNAMIC_DRAW);
    glBindVertexArray(0);
}

void Mesh::upload() {
    auto uploadAttribute = [](GLuint buffer, GLuint location, GLint components, GLsizeiptr bytes,
                              const void* data) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_STATIC_DRAW);
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    };
    const MeshGeometry& g = geometry;
    uploadAttribute(buffers[kPositionBuffer], 0, 3, GLsizeiptr(g.positions.size() * sizeof(glm::vec3)),
                    g.positions.data());
    uploadAttribute(buffers[kUvBuffer], 1, 2, GLsizeiptr(g.uvs.size() * sizeof(glm::vec2)), g.uvs.data());
    uploadAttribute(buffers[kNormalBuffer], 2, 3, GLsizeiptr(g.normals.size() * sizeof(glm::vec3)),
                    g.normals.data());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[kIndexBuffer]);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(g.indices.size() * sizeof(std::uint32_t)),
                 g.indices.data(), GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

bool Mesh::loadMaterialTexture(const aiScene* scene, const std::string& scenePath, unsigned materialIndex) {
    loadTexture(MeshGeometry::diffuseTexturePath(scene, scenePath, materialIndex));
    return true;
}

void Mesh::loadTexture(const std::string& path, gl::TextureCache* textures) {
    texture = nullptr;
    ownTexture.reset();
    if (path.empty()) {
        return;
    }
    if (textures) {
        texture = &textures->get(path);
    } else {
        ownTexture = std::make_unique<gl::Texture>(path.c_str(), GL_TEXTURE_2D);
        texture = ownTexture.get();
    }
}

}  // namespace common::scene
