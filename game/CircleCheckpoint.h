#pragma once

#include <limits>
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
    // The same ring with a third of the triangles, for rings that cover few pixels.
    static constexpr const char* kLightModelPath = "../resources/meshes/CircleLight.dae";
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

    // Reads the light model's parts (a model without all eight is not used).
    void useLightModel(const std::string& lightModelPath, gl::TextureCache* textures);
    // Draws the light model, in the scene and the shadow maps, while the ring's box spans fewer than
    // `pixels` on a view where an object one unit high at distance one spans `pixelsPerUnit`
    // (pixels infinite: always the light model; 0: never).
    void setLightModelBelow(float pixels, float pixelsPerUnit);
    bool hasLightModel() const { return !lightParts.empty(); }

    std::size_t partCount() const { return parts.size(); }
    const Mesh& part(std::size_t index) const { return *parts[index]; }
    // The parts drawn this frame: the light model's beyond its distance, otherwise the full one.
    const std::vector<std::unique_ptr<Mesh>>& drawnParts() const;
    bool showsLightModel() const { return &drawnParts() == &lightParts; }

  private:
    std::vector<std::unique_ptr<Mesh>> loadParts(const std::string& path, gl::TextureCache* textures);
    template <typename Operation>
    void forEachPart(Operation operation);

    std::string modelPath;
    int partCounter = 0;
    std::vector<std::unique_ptr<Mesh>> parts;
    std::vector<std::unique_ptr<Mesh>> lightParts;
    float lightBeyond = std::numeric_limits<float>::infinity();
};

}  // namespace common::scene
