#include "game/CircleCheckpoint.h"

#include <cstdio>
#include <optional>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/Angles.h"
#include "game/CraftFlight.h"
#include "game/RingCapture.h"
#include "gl/ShaderController.h"
#include "scene/RingModelCache.h"
#include "scene/SceneLayout.h"

namespace common::scene {
namespace {

constexpr double kPartSpinRate = 200.0;  // degrees per second
constexpr double kRingSpinRate = 25.0;   // degrees per second

glm::mat4 rotated(const glm::mat4& matrix, double degrees, const glm::vec3& axis) {
    return glm::rotate(matrix,
                       static_cast<float>(toRadians(static_cast<double>(static_cast<float>(degrees)))), axis);
}

}  // namespace

CircleCheckpoint::CircleCheckpoint(const std::string& path, gl::TextureCache* textures) : modelPath(path) {
    parts = loadParts(modelPath, textures);
    for (const auto& part : parts) {
        triangleCount += part->getTriangleCount();
    }
    partCounter = static_cast<int>(parts.size());
    if (partCounter != kPartCount) {
        std::printf("Warning: ring model %s has %d of its %d parts\n", modelPath.c_str(), partCounter,
                    kPartCount);
    }
    // Every ring gets its box, whole or not, so culling and the capture test always have one.
    localBox = std::make_unique<camera::BoundingBox>(glm::vec3(-kHalfExtent), glm::vec3(kHalfExtent));
}

CircleCheckpoint::~CircleCheckpoint() = default;

std::vector<std::unique_ptr<Mesh>> CircleCheckpoint::loadParts(const std::string& path,
                                                               gl::TextureCache* textures) {
    std::vector<std::unique_ptr<Mesh>> loaded;
    std::string error;
    std::optional<std::vector<LayoutMesh>> layouts = RingModelCache::parts(path, error);
    if (!layouts) {
        std::printf("Error parsing '%s': '%s'\n", path.c_str(), error.c_str());
        return loaded;
    }
    for (LayoutMesh& layout : *layouts) {
        auto part = std::make_unique<Mesh>();
        part->shaderKey = gl::ShaderType::ColorShader;
        part->castsShadow = true;
        part->setModelMatrix(layout.transform);
        part->initFromGeometry(std::move(layout.geometry), layout.texturePath, textures);
        part->reset();
        loaded.push_back(std::move(part));
    }
    return loaded;
}

void CircleCheckpoint::useLightModel(const std::string& lightModelPath, gl::TextureCache* textures) {
    lightParts = loadParts(lightModelPath, textures);
    if (lightParts.size() != parts.size()) {
        lightParts.clear();
        return;
    }
    // The light parts take up the full ones' spin where it is.
    for (std::size_t i = 0; i < parts.size(); ++i) {
        lightParts[i]->setModelMatrix(parts[i]->getModelMatrix());
        lightParts[i]->setPrevModelMatrix(parts[i]->getPrevModelMatrix());
    }
}

void CircleCheckpoint::setLightModelBelow(float pixels, float pixelsPerUnit) {
    // The ring's own scale (finish rings are larger) times its box: its size on screen at distance one.
    const float size = 2.0f * kHalfExtent * glm::length(glm::vec3(modelMatrix[0])) * pixelsPerUnit;
    lightBeyond = pixels > 0.0f ? size / pixels : std::numeric_limits<float>::infinity();
}

const std::vector<std::unique_ptr<Mesh>>& CircleCheckpoint::drawnParts() const {
    if (lightParts.empty() || lightBeyond == std::numeric_limits<float>::infinity()) {
        return parts;
    }
    const glm::mat4& view = gl::ShaderController::instance().frameViewMatrix();
    const float distance = glm::length(glm::vec3(view * glm::vec4(getPosition(), 1.0f)));
    return distance > lightBeyond ? lightParts : parts;
}

template <typename Operation>
void CircleCheckpoint::forEachPart(Operation operation) {
    for (auto& part : parts) {
        operation(*part);
    }
    for (auto& part : lightParts) {
        operation(*part);
    }
}

void CircleCheckpoint::update(double dt) {
    forEachPart([dt](Mesh& part) {
        part.update(dt);
        part.setModelMatrix(rotated(part.getModelMatrix(), dt * kPartSpinRate, glm::vec3(-1.0f, 0.0f, 0.0f)));
    });
    prevModelMatrix = modelMatrix;
    setModelMatrix(rotated(modelMatrix, dt * kRingSpinRate, glm::vec3(0.0f, 1.0f, 0.0f)));
}

void CircleCheckpoint::draw() {
    for (const auto& drawn : drawnParts()) {
        Mesh& part = *drawn;
        const glm::mat4 model = part.getModelMatrix();
        const glm::mat4 previous = part.getPrevModelMatrix();
        part.setModelMatrix(modelMatrix * model);
        part.setPrevModelMatrix(prevModelMatrix * previous);
        part.draw();
        part.setModelMatrix(model);
        part.setPrevModelMatrix(previous);
    }
}

void CircleCheckpoint::drawDepth() {
    for (const auto& drawn : drawnParts()) {
        Mesh& part = *drawn;
        const glm::mat4 model = part.getModelMatrix();
        part.setModelMatrix(modelMatrix * model);
        part.drawDepth();
        part.setModelMatrix(model);
    }
}

void CircleCheckpoint::setFilterBilinear() {
    forEachPart([](Mesh& part) { part.setFilterBilinear(); });
}
void CircleCheckpoint::setFilterNearest() {
    forEachPart([](Mesh& part) { part.setFilterNearest(); });
}
void CircleCheckpoint::setMipmapLinear() {
    forEachPart([](Mesh& part) { part.setMipmapLinear(); });
}
void CircleCheckpoint::setMipmapNearest() {
    forEachPart([](Mesh& part) { part.setMipmapNearest(); });
}
void CircleCheckpoint::setMipmapOff() {
    forEachPart([](Mesh& part) { part.setMipmapOff(); });
}

bool CircleCheckpoint::collides(const CraftFlight& player, bool isFinish) const {
    const camera::BoundingBox* box = getWorldBox();
    if (!box) {
        return false;
    }
    // The ring's axis is its own y axis, which its spin leaves in place.
    const RingPose pose{box->min, box->max, getPosition(), getUpAxis()};
    return ringCapturesStep(pose, player.previousPosition, player.position,
                            isFinish ? kFinishRadius : kRingRadius);
}

}  // namespace common::scene
