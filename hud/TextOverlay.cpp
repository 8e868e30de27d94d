#include "hud/TextOverlay.h"

#include <cstdint>
#include <cstring>

#include <GL/glew.h>

#include "gl/GlslProg.h"
#include "gl/Texture.h"

namespace common::hud {
namespace {

constexpr int kVerticesPerGlyph = 6;
constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kUvAttribute = 1;

void upload(GLuint buffer, const std::vector<glm::vec2>& data) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.size() * sizeof(glm::vec2)), data.data(),
                 GL_STATIC_DRAW);
}

}  // namespace

TextOverlay& TextOverlay::instance() {
    // Never destroyed: no GL call may run once the context is gone.
    static TextOverlay* overlay = new TextOverlay();
    return *overlay;
}

TextOverlay::TextOverlay() = default;

TextOverlay::~TextOverlay() {
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
    }
    if (vertexBuffer != 0) {
        glDeleteBuffers(1, &vertexBuffer);
    }
    if (uvBuffer != 0) {
        glDeleteBuffers(1, &uvBuffer);
    }
}

void TextOverlay::init(const char* fontPath) {
    // Both loads may throw; nothing is replaced until both have succeeded.
    auto font = std::make_unique<gl::Texture>(fontPath, GL_TEXTURE_2D);
    auto textProgram = std::make_unique<gl::GlslProg>(kVertexShaderPath, kFragmentShaderPath);
    fontTexture = std::move(font);
    program = std::move(textProgram);

    if (vertexBuffer == 0) {
        glGenBuffers(1, &vertexBuffer);
    }
    if (uvBuffer == 0) {
        glGenBuffers(1, &uvBuffer);
    }
    if (vertexArray == 0) {
        createVertexArray();
    }

    program->bind();
    program->setUniform("size", glm::vec2(width, height));
    gl::GlslProg::unbind();
    samplerLocation = glGetUniformLocation(program->handle, "myTextureSampler");
    sizeLocation = glGetUniformLocation(program->handle, "size");
}

// A core context draws nothing without a vertex array; the overlay's own one keeps the two attribute
// streams bound to its buffers, which are re-filled (not re-created) on every call.
void TextOverlay::createVertexArray() {
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glEnableVertexAttribArray(kPositionAttribute);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexAttribPointer(kPositionAttribute, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(kUvAttribute);
    glBindBuffer(GL_ARRAY_BUFFER, uvBuffer);
    glVertexAttribPointer(kUvAttribute, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void TextOverlay::buildGlyphs(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                              std::vector<glm::vec2>& uvs) {
    positions.clear();
    uvs.clear();
    appendGlyphs(text, x, y, size, positions, uvs);
}

void TextOverlay::appendGlyphs(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                               std::vector<glm::vec2>& uvs) {
    const std::size_t length = text ? std::strlen(text) : 0;
    positions.reserve(positions.size() + length * kVerticesPerGlyph);
    uvs.reserve(uvs.size() + length * kVerticesPerGlyph);

    const auto bottom = static_cast<float>(y);
    const auto top = static_cast<float>(static_cast<std::int64_t>(y) + size);
    for (std::size_t i = 0; i < length; ++i) {
        // 64-bit so that long strings or large sizes cannot overflow before the conversion to float.
        const std::int64_t index = static_cast<std::int64_t>(i);
        const auto left = static_cast<float>(x + index * size);
        const auto right = static_cast<float>(x + (index + 1) * size);
        positions.insert(
            positions.end(),
            {{left, top}, {left, bottom}, {right, top}, {right, bottom}, {right, top}, {left, bottom}});

        // Codes are signed bytes: a byte above 127 gives a negative column and row (truncating division)
        // and so a cell outside the atlas, which the sampler simply wraps.
        const int code = static_cast<signed char>(text[i]);
        const float u = static_cast<float>(code % 16) * kCell;
        const float row = static_cast<float>(code / 16) * kCell;
        // Rows count from the top of the picture, whose bottom row lies at t = 0.
        const float vTop = 1.0f - row;
        const float vBottom = 1.0f - (row + kCell);
        uvs.insert(uvs.end(), {{u, vTop},
                               {u, vBottom},
                               {u + kCell, vTop},
                               {u + kCell, vBottom},
                               {u + kCell, vTop},
                               {u, vBottom}});
    }
}

void TextOverlay::printText(const char* text, int x, int y, int size) {
    if (!program || !fontTexture || !text || text[0] == '\0') {
        return;
    }
    if (!batching) {
        positions.clear();
        uvs.clear();
    }
    appendGlyphs(text, x, y, size, positions, uvs);
    if (!batching) {
        drawCollected();
    }
}

void TextOverlay::beginBatch() {
    batching = true;
    positions.clear();
    uvs.clear();
}

void TextOverlay::flush() {
    batching = false;
    if (program && fontTexture && !positions.empty()) {
        drawCollected();
    }
}

void TextOverlay::drawCollected() {
    upload(vertexBuffer, positions);
    upload(uvBuffer, uvs);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    program->bind();
    // The window may have changed size since init: the pixel mapping follows width and height as they
    // are now, like the caller's viewport.
    glUniform2f(sizeLocation, width, height);
    fontTexture->bind(0);
    glUniform1i(samplerLocation, 0);

    glBindVertexArray(vertexArray);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(positions.size()));
    glDisable(GL_BLEND);
    glBindVertexArray(0);
    positions.clear();
    uvs.clear();
}

}  // namespace common::hud
