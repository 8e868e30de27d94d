#include "tools/RingModel.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

namespace common::assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegree = 0.017453292519943295;

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace

MeshData RingModel::arc(int along, int around) {
    MeshData mesh;
    const double halfSpan = 0.5 * kArcDegrees * kDegree;
    const glm::dvec3 up(0.0, 1.0, 0.0);
    // In the part's frame the ring's centre lies at (-kRadius, 0, 0).
    const auto outwardAt = [](double offset) { return glm::dvec3(std::cos(offset), 0.0, std::sin(offset)); };
    const auto spineAt = [&outwardAt](double offset) {
        return kRadius * outwardAt(offset) - glm::dvec3(kRadius, 0.0, 0.0);
    };
    for (int i = 0; i <= along; ++i) {
        const double offset = -halfSpan + 2.0 * halfSpan * i / along;
        for (int k = 0; k <= around; ++k) {
            const double angle = kTwoPi * k / around;
            const glm::dvec3 normal = std::cos(angle) * outwardAt(offset) + std::sin(angle) * up;
            mesh.addVertex(spineAt(offset) + kTubeRadius * normal, normal,
                           {double(i) / along, double(k) / around});
        }
    }
    const int row = around + 1;
    for (int i = 0; i < along; ++i) {
        for (int k = 0; k < around; ++k) {
            const auto a = std::uint32_t(i * row + k);
            mesh.addFacingQuad(a, a + row, a + row + 1, a + 1,
                               mesh.normals()[a] + mesh.normals()[a + row + 1]);
        }
    }
    // Close both ends.
    for (const double end : {-1.0, 1.0}) {
        const double offset = end * halfSpan;
        const glm::dvec3 facing = end * glm::dvec3(-std::sin(offset), 0.0, std::cos(offset));
        const auto centre = mesh.addVertex(spineAt(offset), facing, {end < 0.0 ? 0.0 : 1.0, 0.5});
        const auto first = std::uint32_t(mesh.vertexCount());
        for (int k = 0; k < around; ++k) {
            const double angle = kTwoPi * k / around;
            const glm::dvec3 spoke = std::cos(angle) * outwardAt(offset) + std::sin(angle) * up;
            mesh.addVertex(spineAt(offset) + kTubeRadius * spoke, facing,
                           {end < 0.0 ? 0.0 : 1.0, double(k) / around});
        }
        for (int k = 0; k < around; ++k) {
            mesh.addFacingTriangle(centre, first + k, first + (k + 1) % around, facing);
        }
    }
    return mesh;
}

glm::dmat4 RingModel::partTransform(int part) {
    const double angle = (part + 0.5) * kTwoPi / kParts;
    const glm::dvec3 outward(std::cos(angle), 0.0, std::sin(angle));
    const glm::dvec3 up(0.0, 1.0, 0.0);
    const glm::dvec3 along = glm::cross(outward, up);
    glm::dmat4 transform(1.0);
    transform[0] = glm::dvec4(outward, 0.0);
    transform[1] = glm::dvec4(up, 0.0);
    transform[2] = glm::dvec4(along, 0.0);
    transform[3] = glm::dvec4(outward * kRadius, 1.0);
    return transform;
}

Image RingModel::paintTexture(int size) {
    // u runs along the arc, v round the tube. Warm gold with a bright band near each end and a
    // lighter line along the outer rim, so the flipping arcs catch the eye.
    Image image(size, size, 3);
    const glm::dvec3 gold(1.0, 0.70, 0.10);
    const glm::dvec3 amber(0.95, 0.42, 0.05);
    const glm::dvec3 cream(1.0, 0.95, 0.75);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const double u = (px + 0.5) / size;
            const double v = 1.0 - (py + 0.5) / size;
            const double fromEnd = std::min(u, 1.0 - u);
            glm::dvec3 colour = glm::mix(amber, gold, 0.5 + 0.5 * std::cos(v * kTwoPi));
            const double band = smoothstep(0.10, 0.12, fromEnd) * (1.0 - smoothstep(0.18, 0.20, fromEnd));
            colour = glm::mix(colour, cream, band);
            image.set(px, py, glm::clamp(colour, 0.0, 1.0));
        }
    }
    return image;
}

Image RingModel::paintDiscTexture(int size) {
    Image image(size, size, 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            const double x = (px + 0.5) / size * 2.0 - 1.0;
            const double y = (py + 0.5) / size * 2.0 - 1.0;
            const double r = std::min(1.0, std::hypot(x, y));
            // Clear in the middle, a brighter haze towards the rim.
            const glm::dvec3 colour =
                glm::mix(glm::dvec3(0.70, 0.90, 1.0), glm::dvec3(1.0, 0.95, 0.70), r * r);
            image.set(px, py, colour, 0.35 + 0.45 * r * r);
        }
    }
    return image;
}

}  // namespace common::assetgen
