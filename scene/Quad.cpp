#include "scene/Quad.h"

#include <cstdint>

#include <GL/glew.h>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"

namespace common::scene {
namespace {

const float kPositions[] = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
const float kNormals[] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
const float kUvs[] = {0, 0, 1, 0, 1, 1, 0, 1};
const std::uint32_t kIndices[] = {0, 1, 2, 0, 2, 3};

// The quad programs declare these locations explicitly; they are the fall-back when the registry
// has no quad program to ask.
GLint attributeLocation(const gl::GlslProg* program, const char* name, GLint fallback) {
    return program ? glGetAttribLocation(program->handle, name) : fallback;
}

void enableAttribute(GLint location, GLuint buffer, GLint components) {
    if (location < 0) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
}

}  // namespace

Quad::Quad() : shader(gl::ShaderController::instance().getShader(gl::ShaderType::QuadShader)) {
    glGenBuffers(4, buffers);
    const GLenum targets[4] = {GL_ARRAY_BUFFER, GL_ELEMENT_ARRAY_BUFFER, GL_ARRAY_BUFFER, GL_ARRAY_BUFFER};
    const void* data[4] = {kPositions, kIndices, kNormals, kUvs};
    const GLsizeiptr sizes[4] = {sizeof kPositions, sizeof kIndices, sizeof kNormals, sizeof kUvs};
    for (int i = 0; i < 4; ++i) {
        glBindBuffer(targets[i], buffers[i]);
        glBufferData(targets[i], sizes[i], data[i], GL_STATIC_DRAW);
        glBindBuffer(targets[i], 0);
    }

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    enableAttribute(attributeLocation(shader, "position", 0), buffers[kPositionBuffer], 3);
    enableAttribute(attributeLocation(shader, "normal", 2), buffers[kNormalBuffer], 3);
    enableAttribute(attributeLocation(shader, "uv", 1), buffers[kUvBuffer], 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[kIndexBuffer]);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

Quad::~Quad() {
    glDeleteBuffers(4, buffers);
    glDeleteVertexArrays(1, &vertexArray);
}

void Quad::draw() {
    if (!shader) {
        return;
    }
    shader->bind();
    glBindVertexArray(vertexArray);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    gl::GlslProg::unbind();
}

}  // namespace common::scene
