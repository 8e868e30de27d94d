#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/CollisionObject.h"
#include "game/RingCapture.h"
#include "scene/Mesh.h"
#include "scene/SceneObject.h"

namespace common::gl {
class TextureCache;
}

namespace common::scene {

// A spinning ring checkpoint. Owns the eight part meshes of its own import of the ring model, draws
// them relative to its model matrix, and tells whether the craft is passing through it.
class CircleCheckpoint : public SceneObject, public CollisionObject {
  public:
    static constexpr const char* kModelPath = "../resources/meshes/Circle.dae";
    static constexpr int kPartCount = 8;
    static constexpr float kHalfExtent = scene::kRingHalfExtent;
    static constexpr float kRingRadius = scene::kRingRadius;
    static constexpr float kFinishRadius = scene::kFinishRadius;

    // Imports the ring model's parts "part0" ... "part7" (in depth-first order). Needs a GL context.
    // The parts' textures come from `textures` when given (it must outlive the ring).
    explicit CircleCheckpoint(const std::string& modelPath = kModelPath,
                              gl::TextureCache* textures = nullptr);
    ~CircleCheckpoint() override;

    void reset() override {}
    // Each part tumbles about its own -x axis at 200 deg/s; the ring turns about its axis at 25 deg/s.
    void update(double dt) override;
    void draw() override;
    void drawDepth() override;
    void setFilterBilinear() override;
    void setFilterNearest() override;
    void setMipmapLinear() override;
    void setMipmapNearest() override;
    void setMipmapOff() override;

    // Inside the world box (strictly), less than 0.3 from the ring's plane and within the capture
    // radius of its centre, at the end of the craft's step or where the step crosses the plane.
    bool collides(const CraftFlight& player, bool isFinish) const override;

    std::size_t partCount() const { return parts.size(); }
    const Mesh& part(std::size_t index) const { return *parts[index]; }

  private:
    void loadParts(gl::TextureCache* textures);
    template <typename Operation>
    void forEachPart(Operation operation);

    std::string modelPath;
    int partCounter = 0;
    std::vector<std::unique_ptr<Mesh>> parts;
};

}  // namespace common::scene
