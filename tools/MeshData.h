#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace common::assetgen {

// An indexed triangle mesh with one normal and one texture coordinate per vertex, as it is handed to
// the COLLADA writer. Triangles wind counter-clockwise seen from their front.
class MeshData {
  public:
    std::uint32_t addVertex(const glm::dvec3& position, const glm::dvec3& normal, const glm::dvec2& uv);
    void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    // Adds the triangle wound so that its front (counter-clockwise) side faces along `facing`.
    void addFacingTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, const glm::dvec3& facing);
    // Two triangles for the quad a-b-c-d (in order around it), front side along `facing`.
    void addFacingQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                       const glm::dvec3& facing);
    // Adds `other` moved by `transform`; normals follow the inverse transpose.
    void append(const MeshData& other, const glm::dmat4& transform);

    std::size_t vertexCount() const { return positions_.size(); }
    std::size_t triangleCount() const { return triangles_.size(); }
    const std::vector<glm::dvec3>& positions() const { return positions_; }
    const std::vector<glm::dvec3>& normals() const { return normals_; }
    const std::vector<glm::dvec2>& uvs() const { return uvs_; }
    const std::vector<std::array<std::uint32_t, 3>>& triangles() const { return triangles_; }

  private:
    std::vector<glm::dvec3> positions_;
    std::vector<glm::dvec3> normals_;
    std::vector<glm::dvec2> uvs_;
    std::vector<std::array<std::uint32_t, 3>> triangles_;
};

}  // namespace common::assetgen
