#pragma once

// Shared by the GL tests: state queries, a float colour target to draw into and read back, and the
// temporary replacement of a GLEW entry point.

#include <GL/glew.h>

#include <glm/glm.hpp>

#include <vector>

namespace gltest {

inline GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// A parameter of a 2D texture, or of its mipmap level `level` when level >= 0.
inline GLint texParameter(GLuint texture, GLenum name, GLint level = -1) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    if (level < 0) {
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    } else {
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// The first GL error since the last call (GL_NO_ERROR when none); clears the others.
inline GLenum glError() {
    const GLenum first = glGetError();
    while (glGetError() != GL_NO_ERROR) {
    }
    return first;
}

// A framebuffer with one RGBA32F texture, bound (with its viewport) while it lives.
class ColorTarget {
  public:
    ColorTarget(int width, int height) : width_(width), height_(height) {
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &fbo_);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
        glViewport(0, 0, width, height);
    }
    ~ColorTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo_);
        glDeleteTextures(1, &texture_);
    }
    ColorTarget(const ColorTarget&) = delete;
    ColorTarget& operator=(const ColorTarget&) = delete;

    // Pixel (x, y) is at [y * width + x], bottom row first.
    std::vector<glm::vec4> read() const {
        std::vector<glm::vec4> pixels(static_cast<std::size_t>(width_) * height_);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_FLOAT, pixels.data());
        return pixels;
    }

    GLuint fbo() const { return fbo_; }

  private:
    int width_;
    int height_;
    GLuint texture_ = 0;
    GLuint fbo_ = 0;
};

// Replaces one GLEW entry point (GLEW keeps them in global function pointers) for the object's lifetime.
template <typename Function>
class GlHook {
  public:
    GlHook(Function& entry, Function replacement) : entry_(entry), original_(entry) { entry_ = replacement; }
    ~GlHook() { entry_ = original_; }
    GlHook(const GlHook&) = delete;
    GlHook& operator=(const GlHook&) = delete;

  private:
    Function& entry_;
    Function original_;
};

}  // namespace gltest
