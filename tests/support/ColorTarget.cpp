#include "tests/support/ColorTarget.h"

#include <stdexcept>
#include <string>

namespace testsupport {

ColorTarget::ColorTarget(int width, int height, GLenum internalFormat) : width_(width), height_(height) {
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), width, height, 0, GL_RGBA, GL_FLOAT,
                 nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    glViewport(0, 0, width, height);
}

ColorTarget::~ColorTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo_);
    glDeleteTextures(1, &texture_);
}

void ColorTarget::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, width_, height_);
}

glm::vec4 ColorTarget::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") is outside the " + std::to_string(width_) + " x " +
                                std::to_string(height_) + " target");
    }
    glm::vec4 value(-1.0f);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_FLOAT, &value[0]);
    return value;
}

std::vector<glm::vec4> ColorTarget::read() const {
    std::vector<glm::vec4> pixels(static_cast<std::size_t>(width_) * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_FLOAT, pixels.data());
    return pixels;
}

}  // namespace testsupport
