#pragma once

#include <GL/glew.h>

namespace common::gl {

// A depth-only framebuffer for one shadow-map cascade. Its depth texture is made for sampling with depth
// comparison (sampler2DShadow, linear filtering of the comparison). Owns the framebuffer and the texture.
class RenderTarget {
  public:
    // Prints "Framebuffer failer" when the framebuffer is incomplete; leaves the default framebuffer bound
    // and the depth texture bound on the active unit.
    RenderTarget(GLuint width, GLuint height);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Binds the framebuffer and sets the viewport to the target's size; the caller restores its viewport.
    void bindForWriting() const;
    // Back to the default framebuffer.
    static void unbind();

    GLuint texture = 0;
    GLuint fbo = 0;
    GLuint width;
    GLuint height;
};

}  // namespace common::gl
