#pragma once

#include <GL/glew.h>

namespace common::gl {

// Where the composite draws when the scene target is smaller than the window: an 8-bit colour
// framebuffer of the scene target's size, stretched onto the window with one linear blit. The
// composite's taps then run once per scene pixel, not once per window pixel.
// Owns its framebuffer and texture; both names stay 0 until init.
class UpscaleTarget {
  public:
    UpscaleTarget() = default;
    ~UpscaleTarget();
    UpscaleTarget(const UpscaleTarget&) = delete;
    UpscaleTarget& operator=(const UpscaleTarget&) = delete;

    // Creates the framebuffer and texture at the given size; returns true when complete (and unbinds).
    bool init(GLuint width, GLuint height);
    // Binds the target for drawing and sets the viewport to its size.
    void bindForWriting() const;
    // Stretches the target over the window's default framebuffer (which must have no samples) and
    // leaves the window bound for drawing, its viewport the whole window.
    void blitToWindow(GLsizei windowWidth, GLsizei windowHeight) const;

    GLuint fbo = 0;
    GLuint colorTexture = 0;
    GLuint width = 0;
    GLuint height = 0;

  private:
    void release();
};

}  // namespace common::gl
