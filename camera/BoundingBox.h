#pragma once

#include <array>
#include <memory>

#include <glm/glm.hpp>

namespace common::gl {
class GlslProg;
}

namespace common::camera {

// Axis-aligned box between min and max, used for frustum culling and, in wireframe mode, drawn as red
// lines. Everything but draw works without a GL context: the line geometry is uploaded on the first draw
// and owned by the box (released with it). A copy gets geometry of its own on its own first draw; a move
// takes the geometry along.
class BoundingBox {
  public:
    // Corner order, as signs of x, y, z relative to the centre:
    // 0 (-,-,+), 1 (+,-,+), 2 (-,+,+), 3 (+,+,+), 4 (-,+,-), 5 (+,+,-), 6 (-,-,-), 7 (+,-,-).
    BoundingBox(const glm::vec3& min, const glm::vec3& max);
    ~BoundingBox();
    BoundingBox(const BoundingBox& other);
    BoundingBox& operator=(const BoundingBox& other);
    BoundingBox(BoundingBox&& other) noexcept;
    BoundingBox& operator=(BoundingBox&& other) noexcept;

    // min, taking max on every axis where the normal component is greater than 0: the corner farthest
    // along the normal.
    glm::vec3 positiveVertex(const glm::vec3& normal) const;
    // min, taking max on every axis where the normal component is less than 0: the corner farthest
    // against the normal.
    glm::vec3 negativeVertex(const glm::vec3& normal) const;

    // The box around the eight corners transformed by m as points (w = 1, no division).
    std::unique_ptr<BoundingBox> transformed(const glm::mat4& m) const;
    // Whether the box reaches into the cube [-1, 1]^3 after the affine `toClip` (an orthographic
    // projection times a view): the box around its transformed corners overlaps the cube. Allocates
    // nothing.
    bool reachesClipCube(const glm::mat4& toClip) const;

    // Draws the twelve edges with `program` (the game's red line program, ColorShaderRed), its
    // "modelMatrix" set to modelMatrix. Needs a current GL context.
    void draw(gl::GlslProg& program, const glm::mat4& modelMatrix) const;

    glm::vec3 min;
    glm::vec3 max;
    std::array<glm::vec3, 8> corners;

  private:
    void uploadLines() const;
    void releaseLines() noexcept;

    // Line geometry, created by the first draw; 0 until then.
    mutable unsigned int vertexArray_ = 0;
    mutable unsigned int vertexBuffer_ = 0;
    mutable unsigned int indexBuffer_ = 0;
};

}  // namespace common::camera
