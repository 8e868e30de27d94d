#include "tools/SceneShapes.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>

#include "tools/Landscape.h"
#include "tools/SkyPainter.h"

namespace common::assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

MeshData SceneShapes::terrain(const Landscape& landscape) {
    constexpr int n = Landscape::kGridSize;
    MeshData mesh;
    const auto height = [&landscape](int i, int j) {
        return landscape.gridHeight(std::clamp(i, 0, n - 1), std::clamp(j, 0, n - 1));
    };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double x = Landscape::gridX(i);
            const double z = Landscape::gridZ(j);
            // Central differences across two grid spacings; j grows northwards, towards -z.
            const double slopeX = (height(i + 1, j) - height(i - 1, j)) / (2.0 * Landscape::kGridSpacing);
            const double slopeZ = (height(i, j + 1) - height(i, j - 1)) / (-2.0 * Landscape::kGridSpacing);
            const glm::dvec3 normal = glm::normalize(glm::dvec3(-slopeX, 1.0, -slopeZ));
            mesh.addVertex(glm::dvec3(x, height(i, j), z), normal, glm::dvec2(x / 512.0, -z / 512.0));
        }
    }
    const glm::dvec3 up(0.0, 1.0, 0.0);
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            const auto a = std::uint32_t(j * n + i);
            const auto b = a + 1;
            const auto c = a + n + 1;
            const auto d = a + n;
            if (landscape.splitsFromCorner(i, j)) {
                mesh.addFacingQuad(a, b, c, d, up);
            } else {
                mesh.addFacingQuad(b, c, d, a, up);
            }
        }
    }
    return mesh;
}

MeshData SceneShapes::water(double radius, double tile) {
    constexpr int kRings = 12;
    constexpr int kSegments = 64;
    MeshData mesh;
    const glm::dvec3 up(0.0, 1.0, 0.0);
    const auto vertex = [&](double x, double z) {
        return mesh.addVertex({x, 0.0, z}, up, {x / tile, -z / tile});
    };
    const std::uint32_t centre = vertex(0.0, 0.0);
    std::vector<std::uint32_t> previous(kSegments, centre);
    for (int ring = 1; ring <= kRings; ++ring) {
        // Rings close together near the middle, where the craft flies, wider apart towards the rim.
        const double t = double(ring) / kRings;
        const double r = radius * t * t;
        std::vector<std::uint32_t> current;
        for (int s = 0; s < kSegments; ++s) {
            const double angle = kTwoPi * s / kSegments;
            current.push_back(vertex(r * std::cos(angle), r * std::sin(angle)));
        }
        for (int s = 0; s < kSegments; ++s) {
            const int next = (s + 1) % kSegments;
            if (ring == 1) {
                mesh.addFacingTriangle(centre, current[s], current[next], up);
            } else {
                mesh.addFacingQuad(previous[s], current[s], current[next], previous[next], up);
            }
        }
        previous = current;
    }
    return mesh;
}

MeshData SceneShapes::skySphere(double radius, int slices, int stacks) {
    MeshData mesh;
    for (int j = 0; j <= stacks; ++j) {
        for (int i = 0; i <= slices; ++i) {
            const glm::dvec2 uv(double(i) / slices, double(j) / stacks);
            const glm::dvec3 direction = SkyPainter::direction(uv);
            mesh.addVertex(direction * radius, -direction, uv);
        }
    }
    const int row = slices + 1;
    for (int j = 0; j < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            const auto a = std::uint32_t(j * row + i);
            const auto b = a + 1;
            const auto c = a + row + 1;
            const auto d = a + row;
            // Seen from the centre; the rows at the poles have one corner pair in one point.
            const glm::dvec3 inward = -SkyPainter::direction({(i + 0.5) / slices, (j + 0.5) / stacks});
            if (j > 0) {
                mesh.addFacingTriangle(a, b, c, inward);
            }
            if (j + 1 < stacks) {
                mesh.addFacingTriangle(a, c, d, inward);
            }
        }
    }
    return mesh;
}

MeshData SceneShapes::disc(int segments) {
    MeshData mesh;
    for (const double side : {1.0, -1.0}) {
        const glm::dvec3 normal(0.0, side, 0.0);
        const std::uint32_t centre = mesh.addVertex({0.0, 0.0, 0.0}, normal, {0.5, 0.5});
        const std::uint32_t first = std::uint32_t(mesh.vertexCount());
        for (int s = 0; s < segments; ++s) {
            const double angle = kTwoPi * s / segments;
            const double x = std::cos(angle);
            const double z = std::sin(angle);
            mesh.addVertex({x, 0.0, z}, normal, {0.5 + 0.5 * x, 0.5 - 0.5 * z});
        }
        for (int s = 0; s < segments; ++s) {
            mesh.addFacingTriangle(centre, first + s, first + (s + 1) % segments, normal);
        }
    }
    return mesh;
}

MeshData SceneShapes::marker() {
    MeshData mesh;
    const glm::dvec3 up(0.0, 1.0, 0.0);
    const auto a = mesh.addVertex({-0.05, 0.0, 0.0}, up, {0.0, 0.0});
    const auto b = mesh.addVertex({0.05, 0.0, 0.0}, up, {1.0, 0.0});
    const auto c = mesh.addVertex({0.0, 0.0, -0.05}, up, {0.5, 1.0});
    mesh.addFacingTriangle(a, b, c, up);
    return mesh;
}

}  // namespace common::assetgen
