#pragma once

#include <GL/glew.h>

#include <glm/vec4.hpp>

#include <vector>

namespace testsupport {

// A framebuffer with one colour texture (8-bit or float) to draw into and read back. Bound, with a
// viewport of its size, from construction on; unbound when it goes.
class ColorTarget {
  public:
    ColorTarget(int width, int height, GLenum internalFormat = GL_RGBA8);
    ~ColorTarget();
    ColorTarget(const ColorTarget&) = delete;
    ColorTarget& operator=(const ColorTarget&) = delete;

    // Binds the framebuffer and sets the viewport to the whole target.
    void bind() const;
    GLuint fbo() const { return fbo_; }

    // Pixel (x, y) from the bottom-left corner (8-bit channels read as 0..1). Throws std::out_of_range,
    // naming the position and the size, for a pixel outside the target.
    glm::vec4 pixel(int x, int y) const;
    // Every pixel, bottom row first: pixel (x, y) is at [y * width + x].
    std::vector<glm::vec4> read() const;

  private:
    int width_;
    int height_;
    GLuint texture_ = 0;
    GLuint fbo_ = 0;
};

}  // namespace testsupport
