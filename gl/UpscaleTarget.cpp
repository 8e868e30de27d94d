#include "gl/UpscaleTarget.h"

namespace common::gl {

UpscaleTarget::~UpscaleTarget() {
    release();
}

void UpscaleTarget::release() {
    if (colorTexture != 0) {
        glDeleteTextures(1, &colorTexture);
    }
    if (fbo != 0) {
        glDeleteFramebuffers(1, &fbo);
    }
    fbo = colorTexture = 0;
}

bool UpscaleTarget::init(GLuint targetWidth, GLuint targetHeight) {
    release();
    width = targetWidth;
    height = targetHeight;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);
    const bool complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    return complete;
}

void UpscaleTarget::bindForWriting() const {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
}

void UpscaleTarget::blitToWindow(GLsizei windowWidth, GLsizei windowHeight) const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, static_cast<GLint>(width), static_cast<GLint>(height), 0, 0, windowWidth,
                      windowHeight, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
}

}  // namespace common::gl
