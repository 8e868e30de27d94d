#include "camera/CameraPersp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/Angles.h"

namespace common::camera {
namespace {

// Each slice reaches this much beyond its split distance, so neighbouring cascades overlap slightly.
constexpr float kSliceOverlap = 1.005f;
// Weight of the logarithmic split against the uniform one.
constexpr float kLogarithmicWeight = 0.75f;
// Start values of the min/max searches over the slice corners. Starting from +-10000 instead would
// give a wrong fit for a light more than 10000 units from the slice.
constexpr float kSearchStart = std::numeric_limits<float>::max();

}  // namespace

CameraPersp::CameraPersp() {
    eyePoint = glm::vec3(28.0f, 21.0f, 28.0f);
    target = glm::vec3(0.0f);
    worldUp = glm::vec3(0.0f, 1.0f, 0.0f);
    updateView();
    fov = 45.0f;
    aspectRatio = 1.0f;
    nearClip = 1.0f;
    farClip = 1000.0f;
    updateProjectionMatrix();
}

CameraPersp::~CameraPersp() = default;

CameraPersp::CameraPersp(const CameraPersp& other)
    : Camera(other),
      frustumLeft(other.frustumLeft),
      frustumRight(other.frustumRight),
      frustumTop(other.frustumTop),
      frustumBottom(other.frustumBottom),
      cascadeMatrices(other.cascadeMatrices) {
    cascadeFrustums.reserve(other.cascadeFrustums.size());
    for (const auto& frustum : other.cascadeFrustums) {
        cascadeFrustums.push_back(std::make_unique<Frustum>(*frustum));
    }
}

CameraPersp& CameraPersp::operator=(const CameraPersp& other) {
    if (this != &other) {
        CameraPersp copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CameraPersp::CameraPersp(CameraPersp&&) noexcept = default;
CameraPersp& CameraPersp::operator=(CameraPersp&&) noexcept = default;

void CameraPersp::updateProjectionMatrix() {
    projectionMatrix = glm::perspective(toRadians(fov), aspectRatio, nearClip, farClip);
    const float pi = 3.141592654f;
    const float t = std::tan(pi / 180.0f * fov * 0.5f);
    frustumTop = t * nearClip;
    frustumRight = frustumTop * aspectRatio;
    frustumBottom = -frustumTop;
    frustumLeft = -frustumRight;
}

void CameraPersp::createCascades(int count) {
    for (int i = 0; i < count; ++i) {
        cascadeFrustums.push_back(std::make_unique<Frustum>(*this));
        cascadeMatrices.emplace_back(1.0f);
    }
}

void CameraPersp::updateCascades(const glm::mat4& lightView) {
    const std::size_t count = cascadeFrustums.size();
    const float n = nearClip;
    const float f = farClip;
    const float ratio = f / n;
    for (std::size_t i = 0; i < count; ++i) {
        const float k = static_cast<float>(i + 1) / static_cast<float>(count);
        // The last split (k = 1) is the far clip distance.
        const float split =
            kLogarithmicWeight * n * std::pow(ratio, k) + (1.0f - kLogarithmicWeight) * (n + (f - n) * k);
        fitCascade(i, split, lightView);
    }
}

// Fits an orthographic light projection tightly around slice i as the light sees it: depth from the
// slice's nearest to farthest corner, then a crop that scales and centres its x/y extent onto [-1, 1].
void CameraPersp::fitCascade(std::size_t index, float splitDistance, const glm::mat4& lightView) {
    Frustum& slice = *cascadeFrustums[index];
    slice.fromCameraSlice(*this, nearClip, splitDistance * kSliceOverlap);

    std::array<glm::vec4, 8> lightSpace;
    for (std::size_t c = 0; c < 4; ++c) {
        lightSpace[c] = lightView * glm::vec4(slice.nearCorners[c], 1.0f);
        lightSpace[c + 4] = lightView * glm::vec4(slice.farCorners[c], 1.0f);
    }

    float minZ = kSearchStart;
    float maxZ = -kSearchStart;
    for (const glm::vec4& p : lightSpace) {
        minZ = std::min(minZ, p.z);
        maxZ = std::max(maxZ, p.z);
    }
    // View space looks down -z, so the depth range is -maxZ (near) to -minZ (far).
    glm::mat4 depthProjection(1.0f);
    depthProjection[2][2] = -2.0f / (maxZ - minZ);
    depthProjection[3][2] = (maxZ + minZ) / (maxZ - minZ);

    float minX = kSearchStart;
    float maxX = -kSearchStart;
    float minY = kSearchStart;
    float maxY = -kSearchStart;
    for (const glm::vec4& p : lightSpace) {
        const glm::vec4 q = depthProjection * p;
        const float x = q.x / q.w;
        const float y = q.y / q.w;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const float scaleX = 2.0f / (maxX - minX);
    const float scaleY = 2.0f / (maxY - minY);
    glm::mat4 crop(1.0f);
    crop[0][0] = scaleX;
    crop[1][1] = scaleY;
    crop[3][0] = -0.5f * (maxX + minX) * scaleX;
    crop[3][1] = -0.5f * (maxY + minY) * scaleY;

    cascadeMatrices[index] = depthProjection * crop;
}

}  // namespace common::camera
