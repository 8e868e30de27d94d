#pragma once

#include "scene/SceneObject.h"

namespace common::gl {
class GlslProg;
}

namespace common::scene {

// A quad covering the current viewport ((-1,-1) to (1,1) at z = 0) for post-processing, previews and
// HUD images. Draws with `shader` (the QuadShader program unless replaced by one that declares
// "position", "normal" and "uv" at the same locations); binds no texture and sets no uniform.
// Needs a current GL context and the shader registry.
class Quad : public SceneObject {
  public:
    Quad();
    ~Quad() override;

    void reset() override {}
    void update(double) override {}
    void draw() override;
    void drawDepth() override {}
    void setFilterBilinear() override {}
    void setFilterNearest() override {}
    void setMipmapLinear() override {}
    void setMipmapNearest() override {}
    void setMipmapOff() override {}

    gl::GlslProg* shader = nullptr;

  private:
    enum Buffer { kPositionBuffer = 0, kIndexBuffer = 1, kNormalBuffer = 2, kUvBuffer = 3 };

    unsigned int vertexArray = 0;
    unsigned int buffers[4] = {0, 0, 0, 0};
};

}  // namespace common::scene
