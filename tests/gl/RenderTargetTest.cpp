#include "gl/RenderTarget.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gl/SceneRenderTarget.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using common::gl::RenderTarget;
using common::gl::SceneRenderTarget;

namespace {

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint textureParameter(GLuint texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint internalFormat(GLuint texture) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint attachedName(GLenum attachment) {
    GLint value = 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &value);
    return value;
}

GLint boundOnUnit(GLenum unit) {
    const GLint active = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    const GLint bound = integer(GL_TEXTURE_BINDING_2D);
    glActiveTexture(static_cast<GLenum>(active));
    return bound;
}

class RenderTargetTest : public testsupport::GlTest {
  protected:
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, 64, 64);
        for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
    }
};

}  // namespace

// --- shadow-map targets ---

TEST_F(RenderTargetTest, AShadowTargetIsACompleteDepthOnlyFramebuffer) {
    testsupport::beginStdoutCapture();
    RenderTarget target(2048, 2048);
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
    EXPECT_EQ(target.width, 2048u);
    EXPECT_EQ(target.height, 2048u);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);

    glBindFramebuffer(GL_FRAMEBUFFER, target.fbo);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(static_cast<GLuint>(attachedName(GL_DEPTH_ATTACHMENT)), target.texture);
    EXPECT_EQ(integer(GL_DRAW_BUFFER), GL_NONE);
    EXPECT_EQ(integer(GL_READ_BUFFER), GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(RenderTargetTest, TheShadowDepthTextureIsMadeForComparisonSampling) {
    RenderTarget target(64, 32);
    EXPECT_EQ(internalFormat(target.texture), GL_DEPTH_COMPONENT);
    EXPECT_EQ(textureParameter(target.texture, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(textureParameter(target.texture, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);
    EXPECT_EQ(textureParameter(target.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(target.texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
}

TEST_F(RenderTargetTest, WritingBindsTheFramebufferWithItsViewportAndUnbindGoesBack) {
    RenderTarget target(2048, 2048);
    glViewport(0, 0, 64, 64);
    target.bindForWriting();
    EXPECT_EQ(static_cast<GLuint>(integer(GL_FRAMEBUFFER_BINDING)), target.fbo);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 2048);
    EXPECT_EQ(viewport[3], 2048);
    RenderTarget::unbind();
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
}

TEST_F(RenderTargetTest, AnIncompleteShadowTargetSaysSo) {
    testsupport::beginStdoutCapture();
    RenderTarget target(0, 0);  // a zero-sized attachment is incomplete
    EXPECT_EQ(testsupport::endStdoutCapture(), "Framebuffer failer\n");
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
}

TEST_F(RenderTargetTest, DestroyingATargetReleasesItsGlObjects) {
    GLuint fbo = 0;
    GLuint texture = 0;
    {
        RenderTarget target(16, 16);
        fbo = target.fbo;
        texture = target.texture;
    }
    EXPECT_EQ(glIsFramebuffer(fbo), GL_FALSE);
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);
}

// --- the scene's colour and velocity target ---

TEST_F(RenderTargetTest, ASceneTargetIsCompleteWithColourVelocityAndDepth) {
    SceneRenderTarget target;
    EXPECT_EQ(target.fbo + target.colorTexture + target.velocityTexture + target.depthTexture, 0u);
    testsupport::beginStdoutCapture();
    EXPECT_TRUE(target.init(40, 30));
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);

    EXPECT_EQ(internalFormat(target.colorTexture), GL_RGB32F);
    EXPECT_EQ(internalFormat(target.velocityTexture), GL_RGB32F);
    EXPECT_EQ(internalFormat(target.depthTexture), GL_DEPTH_COMPONENT32F);
    for (GLuint texture : {target.colorTexture, target.velocityTexture}) {
        EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    }
    // The composite pass samples depth: a filter without mipmaps and no comparison.
    EXPECT_EQ(textureParameter(target.depthTexture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(target.depthTexture, GL_TEXTURE_COMPARE_MODE), GL_NONE);

    target.bindForWriting();
    EXPECT_EQ(glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(static_cast<GLuint>(attachedName(GL_COLOR_ATTACHMENT0)), target.colorTexture);
    EXPECT_EQ(static_cast<GLuint>(attachedName(GL_COLOR_ATTACHMENT1)), target.velocityTexture);
    EXPECT_EQ(static_cast<GLuint>(attachedName(GL_DEPTH_ATTACHMENT)), target.depthTexture);
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
}

TEST_F(RenderTargetTest, BothColourOutputsReceiveWhatIsDrawn) {
    SceneRenderTarget target;
    ASSERT_TRUE(target.init(8, 8));
    target.bindForWriting();
    const float colour[4] = {0.25f, 2.5f, -1.0f, 1.0f};  // float targets keep values outside 0..1
    const float velocity[4] = {0.125f, -0.5f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 0, colour);
    glClearBufferfv(GL_COLOR, 1, velocity);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.fbo);
    float read[3] = {};
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(3, 3, 1, 1, GL_RGB, GL_FLOAT, read);
    EXPECT_FLOAT_EQ(read[1], 2.5f);
    EXPECT_FLOAT_EQ(read[2], -1.0f);
    glReadBuffer(GL_COLOR_ATTACHMENT1);
    glReadPixels(3, 3, 1, 1, GL_RGB, GL_FLOAT, read);
    EXPECT_FLOAT_EQ(read[0], 0.125f);
    EXPECT_FLOAT_EQ(read[1], -0.5f);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    EXPECT_TRUE(gltest::glErrors().empty());
}

TEST_F(RenderTargetTest, WritingChangesOnlyTheDrawBinding) {
    SceneRenderTarget target;
    ASSERT_TRUE(target.init(8, 8));
    target.bindForWriting();
    EXPECT_EQ(static_cast<GLuint>(integer(GL_DRAW_FRAMEBUFFER_BINDING)), target.fbo);
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);
}

TEST_F(RenderTargetTest, ReadingPutsTheThreeTexturesOnUnitsZeroToTwo) {
    SceneRenderTarget target;
    ASSERT_TRUE(target.init(8, 8));
    target.bindForWriting();
    target.bindForReading();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(GL_TEXTURE0)), target.colorTexture);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(GL_TEXTURE1)), target.velocityTexture);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(GL_TEXTURE2)), target.depthTexture);
}

TEST_F(RenderTargetTest, ReadingTheVelocityPutsItOnUnitZero) {
    SceneRenderTarget target;
    ASSERT_TRUE(target.init(8, 8));
    target.bindForWriting();
    glActiveTexture(GL_TEXTURE2);
    target.bindVelocityForReading();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(static_cast<GLuint>(boundOnUnit(GL_TEXTURE0)), target.velocityTexture);
}

TEST_F(RenderTargetTest, AnIncompleteSceneTargetPrintsItsStatusAndStaysBound) {
    SceneRenderTarget target;
    testsupport::beginStdoutCapture();
    const bool complete = target.init(0, 0);
    const std::string output = testsupport::endStdoutCapture();
    EXPECT_FALSE(complete);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_DRAW_FRAMEBUFFER_BINDING)), target.fbo);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    EXPECT_NE(status, static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    char expected[64];
    std::snprintf(expected, sizeof expected, "FB error, status: 0x%x\n", status);
    EXPECT_EQ(output, expected);
    EXPECT_EQ(output, "FB error, status: 0x8cd6\n");  // GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT
}
