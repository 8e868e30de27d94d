#include "gl/SceneRenderTarget.h"

#include <cstdio>

namespace common::gl {
namespace {

void attachFloatColor(GLuint texture, GLenum format, GLenum attachment, GLsizei width, GLsizei height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, GL_RGB, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture, 0);
}

}  // namespace

SceneRenderTarget::~SceneRenderTarget() {
    release();
}

void SceneRenderTarget::release() {
    const GLuint textures[] = {colorTexture, velocityTexture, depthTexture};
    for (GLuint texture : textures) {
        if (texture != 0) {
            glDeleteTextures(1, &texture);
        }
    }
    if (fbo != 0) {
        glDeleteFramebuffers(1, &fbo);
    }
    fbo = colorTexture = velocityTexture = depthTexture = 0;
}

bool SceneRenderTarget::init(GLuint targetWidth, GLuint targetHeight, const Formats& formats) {
    release();
    width = targetWidth;
    height = targetHeight;
    const auto w = static_cast<GLsizei>(width);
    const auto h = static_cast<GLsizei>(height);

    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
    GLuint colorTextures[2] = {0, 0};
    glGenTextures(2, colorTextures);
    colorTexture = colorTextures[0];
    velocityTexture = colorTextures[1];
    glGenTextures(1, &depthTexture);

    attachFloatColor(colorTexture, formats.color, GL_COLOR_ATTACHMENT0, w, h);
    attachFloatColor(velocityTexture, formats.velocity, GL_COLOR_ATTACHMENT1, w, h);

    glBindTexture(GL_TEXTURE_2D, depthTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(formats.depth), w, h, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 nullptr);
    // The composite pass samples depth: without these the default mipmapped minification filter would make
    // the single-level texture incomplete, and sampling it undefined.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthTexture, 0);

    const GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);

    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        std::printf("FB error, status: 0x%x\n", status);
        return false;
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    return true;
}

bool SceneRenderTarget::init(GLuint targetWidth, GLuint targetHeight) {
    return init(targetWidth, targetHeight, Formats{});
}

void SceneRenderTarget::bindForWriting() const {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
}

void SceneRenderTarget::bindForReading() const {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, velocityTexture);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, depthTexture);
}

void SceneRenderTarget::bindVelocityForReading() const {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, velocityTexture);
}

}  // namespace common::gl
