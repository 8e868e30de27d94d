#pragma once

#include <cstdint>
#include <memory>

#include <glm/glm.hpp>

#include "camera/BoundingBox.h"

namespace common::gl {
class GlslProg;
}

namespace common::scene {

// Everything drawn in the 3D scene. Holds this frame's and the previous frame's model matrix (the
// latter feeds the velocity output for motion blur), the culling boxes and the GL vertex array and
// buffers, and the ten operations the scene controller and the passes call on every object.
// Objects are owned by the scene controller (ring parts by their ring) and are not copyable.
class SceneObject {
  public:
    SceneObject() = default;
    virtual ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Re-derives the object's own state from its current model matrix (after placing, on restart).
    virtual void reset() = 0;
    virtual void update(double dt) = 0;
    // Draws with the object's own program into the bound framebuffer.
    virtual void draw() = 0;
    // Draws depth only, for a shadow map.
    virtual void drawDepth() = 0;
    virtual void setFilterBilinear() = 0;
    virtual void setFilterNearest() = 0;
    virtual void setMipmapLinear() = 0;
    virtual void setMipmapNearest() = 0;
    virtual void setMipmapOff() = 0;

    // Does not touch prevModelMatrix or the world box.
    void setModelMatrix(const glm::mat4& matrix);
    void setPrevModelMatrix(const glm::mat4& matrix) { prevModelMatrix = matrix; }
    const glm::mat4& getModelMatrix() const { return modelMatrix; }
    const glm::mat4& getPrevModelMatrix() const { return prevModelMatrix; }
    // Inverse of the model matrix, computed at most once per change.
    const glm::mat4& getInverseModelMatrix();

    glm::vec3 getPosition() const;
    // The object's own y axis in world space (normalised): a ring's axis, normal to its plane.
    glm::vec3 getUpAxis() const;
    std::int32_t getTriangleCount() const { return triangleCount; }
    const camera::BoundingBox* getLocalBox() const { return localBox.get(); }
    const camera::BoundingBox* getWorldBox() const { return worldBox.get(); }
    // worldBox = localBox transformed by the model matrix; nothing refreshes it when the object moves.
    void updateWorldBox();
    // Draws the world box as lines with `lineProgram` (wireframe mode), the identity as its model matrix.
    void drawBoundingBox(gl::GlslProg& lineProgram) const;

    bool castsShadow = false;

  protected:
    glm::mat4 modelMatrix{1.0f};
    glm::mat4 prevModelMatrix{1.0f};
    std::unique_ptr<camera::BoundingBox> localBox;
    std::unique_ptr<camera::BoundingBox> worldBox;
    std::int32_t triangleCount = 0;

  private:
    glm::mat4 inverseModelMatrix{1.0f};
    bool inverseValid = true;
};

}  // namespace common::scene
