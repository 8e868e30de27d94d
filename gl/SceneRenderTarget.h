#pragma once

#include <GL/glew.h>

namespace common::gl {

// The frame's off-screen target for motion blur: colour (output 0) and screen-space velocity (output 1),
// both RGB32F, with a 32-bit float depth texture (or, lighter, RGBA16F colour, RG16F velocity and 24-bit
// depth). The composite pass samples the three on units 0, 1, 2.
// Owns its framebuffer and textures; all names stay 0 until init.
class SceneRenderTarget {
  public:
    SceneRenderTarget() = default;
    ~SceneRenderTarget();
    SceneRenderTarget(const SceneRenderTarget&) = delete;
    SceneRenderTarget& operator=(const SceneRenderTarget&) = delete;

    struct Formats {
        GLenum color = GL_RGB32F;
        GLenum velocity = GL_RGB32F;
        GLenum depth = GL_DEPTH_COMPONENT32F;
    };

    // Creates the framebuffer and textures at the given size. Returns true when complete (and unbinds);
    // otherwise prints "FB error, status: 0x..." and leaves the framebuffer bound for drawing.
    bool init(GLuint width, GLuint height, const Formats& formats);
    // The full formats: RGB32F colour and velocity, 32-bit float depth.
    bool init(GLuint width, GLuint height);

    // Changes only the draw framebuffer binding.
    void bindForWriting() const;
    // Draws to the window again; colour, velocity and depth on units 0, 1, 2. Leaves unit 2 active.
    void bindForReading() const;
    // Draws to the window again; velocity on unit 0, which is left active.
    void bindVelocityForReading() const;

    GLuint fbo = 0;
    GLuint colorTexture = 0;
    GLuint velocityTexture = 0;
    GLuint depthTexture = 0;
    GLuint width = 0;
    GLuint height = 0;

  private:
    void release();
};

}  // namespace common::gl
