#include "camera/BoundingBox.h"

#include <cstdint>
#include <limits>
#include <utility>

#include <GL/glew.h>

#include "gl/GlslProg.h"

namespace common::camera {
namespace {

// A loop around the +z face (corners 0-3), a loop around the -z face (4-7), then the four edges
// joining them.
constexpr std::uint16_t kLineIndices[16] = {0, 1, 3, 2, 4, 5, 7, 6, 2, 4, 3, 5, 0, 6, 1, 7};
constexpr GLsizei kFaceLoopCount = 4;
constexpr GLsizei kEdgeCount = 8;

const void* byteOffset(std::size_t bytes) {
    return reinterpret_cast<const void*>(bytes);
}

}  // namespace

BoundingBox::BoundingBox(const glm::vec3& min, const glm::vec3& max) : min(min), max(max) {
    const glm::vec3 c = (min + max) * 0.5f;
    const glm::vec3 h = (max - min) * 0.5f;
    corners = {{
        c + glm::vec3(-h.x, -h.y, h.z),
        c + glm::vec3(h.x, -h.y, h.z),
        c + glm::vec3(-h.x, h.y, h.z),
        c + glm::vec3(h.x, h.y, h.z),
        c + glm::vec3(-h.x, h.y, -h.z),
        c + glm::vec3(h.x, h.y, -h.z),
        c + glm::vec3(-h.x, -h.y, -h.z),
        c + glm::vec3(h.x, -h.y, -h.z),
    }};
}

glm::vec3 BoundingBox::positiveVertex(const glm::vec3& normal) const {
    glm::vec3 vertex = min;
    for (int axis = 0; axis < 3; ++axis) {
        if (normal[axis] > 0.0f) {
            vertex[axis] = max[axis];
        }
    }
    return vertex;
}

glm::vec3 BoundingBox::negativeVertex(const glm::vec3& normal) const {
    glm::vec3 vertex = min;
    for (int axis = 0; axis < 3; ++axis) {
        if (normal[axis] < 0.0f) {
            vertex[axis] = max[axis];
        }
    }
    return vertex;
}

BoundingBox::~BoundingBox() {
    releaseLines();
}

// A copy shares no GL names with its source; it uploads its own geometry when first drawn.
BoundingBox::BoundingBox(const BoundingBox& other) : min(other.min), max(other.max), corners(other.corners) {}

BoundingBox& BoundingBox::operator=(const BoundingBox& other) {
    if (this != &other) {
        releaseLines();
        min = other.min;
        max = other.max;
        corners = other.corners;
    }
    return *this;
}

BoundingBox::BoundingBox(BoundingBox&& other) noexcept
    : min(other.min),
      max(other.max),
      corners(other.corners),
      vertexArray_(std::exchange(other.vertexArray_, 0u)),
      vertexBuffer_(std::exchange(other.vertexBuffer_, 0u)),
      indexBuffer_(std::exchange(other.indexBuffer_, 0u)) {}

BoundingBox& BoundingBox::operator=(BoundingBox&& other) noexcept {
    if (this != &other) {
        releaseLines();
        min = other.min;
        max = other.max;
        corners = other.corners;
        vertexArray_ = std::exchange(other.vertexArray_, 0u);
        vertexBuffer_ = std::exchange(other.vertexBuffer_, 0u);
        indexBuffer_ = std::exchange(other.indexBuffer_, 0u);
    }
    return *this;
}

bool BoundingBox::reachesClipCube(const glm::mat4& toClip) const {
    glm::vec3 low(std::numeric_limits<float>::max());
    glm::vec3 high(std::numeric_limits<float>::lowest());
    for (const glm::vec3& corner : corners) {
        const glm::vec3 p(toClip * glm::vec4(corner, 1.0f));
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    return glm::all(glm::lessThanEqual(low, glm::vec3(1.0f))) &&
           glm::all(glm::greaterThanEqual(high, glm::vec3(-1.0f)));
}

std::unique_ptr<BoundingBox> BoundingBox::transformed(const glm::mat4& m) const {
    glm::vec3 newMin(m * glm::vec4(corners[0], 1.0f));
    glm::vec3 newMax = newMin;
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const glm::vec3 p(m * glm::vec4(corners[i], 1.0f));
        newMin = glm::min(newMin, p);
        newMax = glm::max(newMax, p);
    }
    return std::make_unique<BoundingBox>(newMin, newMax);
}

void BoundingBox::draw(gl::GlslProg& program, const glm::mat4& modelMatrix) const {
    if (vertexArray_ == 0) {
        uploadLines();
    }
    glBindVertexArray(vertexArray_);
    program.bind();
    program.setUniform("modelMatrix", modelMatrix);
    const std::size_t indexSize = sizeof(kLineIndices[0]);
    glDrawElements(GL_LINE_LOOP, kFaceLoopCount, GL_UNSIGNED_SHORT, byteOffset(0));
    glDrawElements(GL_LINE_LOOP, kFaceLoopCount, GL_UNSIGNED_SHORT, byteOffset(kFaceLoopCount * indexSize));
    glDrawElements(GL_LINES, kEdgeCount, GL_UNSIGNED_SHORT, byteOffset(2 * kFaceLoopCount * indexSize));
    gl::GlslProg::unbind();
    glBindVertexArray(0);
}

void BoundingBox::uploadLines() const {
    static_assert(sizeof(corners) == 8 * 3 * sizeof(float), "corners must be tightly packed");
    glGenVertexArrays(1, &vertexArray_);
    glGenBuffers(1, &vertexBuffer_);
    glGenBuffers(1, &indexBuffer_);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, byteOffset(0));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(kLineIndices), kLineIndices, GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void BoundingBox::releaseLines() noexcept {
    if (vertexArray_ == 0) {
        return;
    }
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteVertexArrays(1, &vertexArray_);
    vertexArray_ = vertexBuffer_ = indexBuffer_ = 0;
}

}  // namespace common::camera
