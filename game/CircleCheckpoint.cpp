#include "game/CircleCheckpoint.h"

#include <cstdio>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include "camera/Angles.h"
#include "game/CraftFlight.h"
#include "game/RingCapture.h"
#include "scene/SceneLayout.h"
#include "scene/ImportCrashGuard.h"

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
    loadParts(textures);
}

CircleCheckpoint::~CircleCheckpoint() = default;

void CircleCheckpoint::loadParts(gl::TextureCache* textures) {
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    {
        ImportCrashGuard guard(modelPath);
        scene = importer.ReadFile(modelPath, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
    }
    if (!scene) {
        std::printf("Error parsing '%s': '%s'\n", modelPath.c_str(), importer.GetErrorString());
    } else {
        for (LayoutMesh& layout : SceneLayout::readRingParts(*scene, modelPath)) {
            auto part = std::make_unique<Mesh>();
            part->shaderKey = gl::ShaderType::ColorShader;
            part->castsShadow = true;
            part->setModelMatrix(layout.transform);
            part->initFromGeometry(std::move(layout.geometry), layout.texturePath, textures);
            part->reset();
            triangleCount += part->getTriangleCount();
            parts.push_back(std::move(part));
        }
        partCounter = static_cast<int>(parts.size());
    }
    if (partCounter != kPartCount) {
        std::printf("Warning: ring model %s has %d of its %d parts\n", modelPath.c_str(), partCounter,
                    kPartCount);
    }
    // Every ring gets its box, whole or not, so culling and the capture test always have one.
    localBox = std::make_unique<camera::BoundingBox>(glm::vec3(-kHalfExtent), glm::vec3(kHalfExtent));
}

template <typename Operation>
void CircleCheckpoint::forEachPart(Operation operation) {
    for (auto& part : parts) {
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
    forEachPart([this](Mesh& part) {
        const glm::mat4 model = part.getModelMatrix();
        const glm::mat4 previous = part.getPrevModelMatrix();
        part.setModelMatrix(modelMatrix * model);
        part.setPrevModelMatrix(prevModelMatrix * previous);
        part.draw();
        part.setModelMatrix(model);
        part.setPrevModelMatrix(previous);
    });
}

void CircleCheckpoint::drawDepth() {
    forEachPart([this](Mesh& part) {
        const glm::mat4 model = part.getModelMatrix();
        part.setModelMatrix(modelMatrix * model);
        part.drawDepth();
        part.setModelMatrix(model);
    });
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
