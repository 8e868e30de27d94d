#include "gl/RenderTarget.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <string>

#include "gl/SceneRenderTarget.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using namespace common::gl;
using gltest::integer;
using gltest::texParameter;

namespace {

GLuint attached(GLenum attachment) {
    GLint name = 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return static_cast<GLuint>(name);
}

GLuint boundOnUnit(GLenum unit) {
    const GLint active = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    const GLint bound = integer(GL_TEXTURE_BINDING_2D);
    glActiveTexture(static_cast<GLenum>(active));
    return static_cast<GLuint>(bound);
}

class RenderTargetTest : public testsupport::GlTest {
  protected:
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glActiveTexture(GL_TEXTURE0);
    }
};

}  // namespace

// --- shadow-map targets ---

TEST_F(RenderTargetTest, AShadowTargetIsACompleteDepthOnlyFramebufferForComparisonSampling) {
    GLuint fbo = 0;
    GLuint texture = 0;
    {
        testsupport::beginStdoutCapture();
        RenderTarget target(64, 32);
        EXPECT_EQ(testsupport::endStdoutCapture(), "");
        EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
        fbo = target.fbo;
        texture = target.texture;
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_DEPTH_COMPONENT);
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);

        // Writing binds the framebuffer with a viewport of the target's size.
        glViewport(0, 0, 8, 8);
        target.bindForWriting();
        EXPECT_EQ(static_cast<GLuint>(integer(GL_FRAMEBUFFER_BINDING)), fbo);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT), texture);
        EXPECT_EQ(integer(GL_DRAW_BUFFER), GL_NONE);
        EXPECT_EQ(integer(GL_READ_BUFFER), GL_NONE);
        glm::ivec4 viewport(0);
        glGetIntegerv(GL_VIEWPORT, &viewport[0]);
        EXPECT_EQ(viewport, glm::ivec4(0, 0, 64, 32));
        RenderTarget::unbind();
        EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    }
    EXPECT_EQ(glIsFramebuffer(fbo), GL_FALSE);
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);
}

TEST_F(RenderTargetTest, AnIncompleteShadowTargetSaysSo) {
    testsupport::beginStdoutCapture();
    RenderTarget target(0, 0);  // a zero-sized attachment is incomplete
    EXPECT_EQ(testsupport::endStdoutCapture(), "Framebuffer failer\n");
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
}

// --- the scene's colour, velocity and depth target ---

TEST_F(RenderTargetTest, ASceneTargetIsCompleteWithColourVelocityAndDepthOnTheirUnits) {
    SceneRenderTarget target;
    EXPECT_EQ(target.fbo + target.colorTexture + target.velocityTexture + target.depthTexture, 0u);
    testsupport::beginStdoutCapture();
    EXPECT_TRUE(target.init(40, 30));
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);

    EXPECT_EQ(texParameter(target.colorTexture, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_RGB32F);
    EXPECT_EQ(texParameter(target.velocityTexture, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_RGB32F);
    EXPECT_EQ(texParameter(target.depthTexture, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_DEPTH_COMPONENT32F);
    // All three are sampled by the composite pass: no mipmaps, no depth comparison.
    for (GLuint texture : {target.colorTexture, target.velocityTexture, target.depthTexture}) {
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
        EXPECT_EQ(texParameter(texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    }
    EXPECT_EQ(texParameter(target.depthTexture, GL_TEXTURE_COMPARE_MODE), GL_NONE);

    target.bindForWriting();
    EXPECT_EQ(glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT0), target.colorTexture);
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT1), target.velocityTexture);
    EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT), target.depthTexture);
    EXPECT_EQ(integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0);
    EXPECT_EQ(integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1);
    EXPECT_EQ(static_cast<GLuint>(integer(GL_DRAW_FRAMEBUFFER_BINDING)), target.fbo);
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);

    target.bindForReading();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(boundOnUnit(GL_TEXTURE0), target.colorTexture);
    EXPECT_EQ(boundOnUnit(GL_TEXTURE1), target.velocityTexture);
    EXPECT_EQ(boundOnUnit(GL_TEXTURE2), target.depthTexture);

    target.bindForWriting();
    target.bindVelocityForReading();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(boundOnUnit(GL_TEXTURE0), target.velocityTexture);
}

TEST_F(RenderTargetTest, AnIncompleteSceneTargetPrintsItsStatusAndStaysBound) {
    SceneRenderTarget target;
    testsupport::beginStdoutCapture();
    EXPECT_FALSE(target.init(0, 0));
    EXPECT_EQ(testsupport::endStdoutCapture(), "FB error, status: 0x8cd6\n");  // incomplete attachment
    EXPECT_EQ(static_cast<GLuint>(integer(GL_DRAW_FRAMEBUFFER_BINDING)), target.fbo);
}
