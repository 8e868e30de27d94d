#include "tools/MeshData.h"

#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>

namespace common::assetgen {

std::uint32_t MeshData::addVertex(const glm::dvec3& position, const glm::dvec3& normal,
                                  const glm::dvec2& uv) {
    positions_.push_back(position);
    normals_.push_back(normal);
    uvs_.push_back(uv);
    return std::uint32_t(positions_.size() - 1);
}

void MeshData::addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    triangles_.push_back({a, b, c});
}

void MeshData::addFacingTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                 const glm::dvec3& facing) {
    const glm::dvec3 normal = glm::cross(positions_[b] - positions_[a], positions_[c] - positions_[a]);
    if (glm::dot(normal, facing) < 0.0) {
        addTriangle(a, c, b);
    } else {
        addTriangle(a, b, c);
    }
}

void MeshData::addFacingQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                             const glm::dvec3& facing) {
    addFacingTriangle(a, b, c, facing);
    addFacingTriangle(a, c, d, facing);
}

void MeshData::append(const MeshData& other, const glm::dmat4& transform) {
    const auto base = std::uint32_t(positions_.size());
    const glm::dmat3 normalMatrix = glm::transpose(glm::inverse(glm::dmat3(transform)));
    for (std::size_t i = 0; i < other.positions_.size(); ++i) {
        addVertex(glm::dvec3(transform * glm::dvec4(other.positions_[i], 1.0)),
                  glm::normalize(normalMatrix * other.normals_[i]), other.uvs_[i]);
    }
    for (const auto& triangle : other.triangles_) {
        addTriangle(base + triangle[0], base + triangle[1], base + triangle[2]);
    }
}

}  // namespace common::assetgen
