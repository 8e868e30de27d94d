// The shadow-map and scene render targets, and the game's own GLSL programs drawing into off-screen
// targets, read back. The quad, arrow and text programs are drawn by the HUD tests.
#include "gl/RenderTarget.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "gl/GlslProg.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "scene/Quad.h"
#include "tests/support/ColorTarget.h"
#include "tests/support/GlContext.h"
#include "tests/support/GlQueries.h"
#include "tests/support/TestFiles.h"

using namespace common::gl;
using testsupport::integer;
using testsupport::texParameter;

namespace {

// Leaves the default framebuffer bound and unit 0 active for the next test.
class RenderTargetTest : public testsupport::GlTest {
  protected:
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glActiveTexture(GL_TEXTURE0);
    }
};

class ShaderRenderingTest : public RenderTargetTest {
  protected:
    void SetUp() override {
        RenderTargetTest::SetUp();
        testsupport::capturedStdout([this] {
            registry = std::make_unique<ShaderController>([](const std::string&) {});
            quad = std::make_unique<common::scene::Quad>();
        });
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
    }

    GlslProg& program(ShaderType type) { return *registry->getShader(type); }

    // The game's quad over the whole viewport, drawn with `drawing` and the uniforms it has.
    void drawQuad(GlslProg& drawing) {
        quad->shader = &drawing;
        quad->draw();
        EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    std::unique_ptr<ShaderController> registry;
    std::unique_ptr<common::scene::Quad> quad;
};

// Depth seen through projection, view and model; the velocity preview is black when still.
TEST_F(ShaderRenderingTest, TheDepthProgramWritesDepthAndTheVelocityPreviewShowsRightwardMotionInRed) {
    RenderTarget map(16, 16);
    map.bindForWriting();
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    GlslProg& depth = program(ShaderType::ShadowDepthShader);
    depth.bind();
    depth.setUniform("projectionMatrix", glm::scale(glm::mat4(1.0f), glm::vec3(1.0f, 1.0f, 0.5f)));
    depth.setUniform("viewMatrix", glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -0.2f)));
    depth.setUniform("modelMatrix", glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -0.4f)));
    drawQuad(depth);
    glDisable(GL_DEPTH_TEST);
    float value = -1.0f;
    glReadPixels(8, 8, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &value);
    // z = 0.5 x (-0.4 - 0.2) = -0.3 in clip space, so depth 0.35.
    EXPECT_NEAR(value, 0.35f, 1e-3);

    SceneRenderTarget scene;
    ASSERT_TRUE(scene.init(8, 8));
    testsupport::ColorTarget target(8, 8, GL_RGBA32F);
    for (float speed : {0.05f, 0.0f}) {
        scene.bindForWriting();
        const float velocity[4] = {speed, 0.0f, 0.0f, 0.0f};
        glClearBufferfv(GL_COLOR, 1, velocity);
        scene.bindVelocityForReading();
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.fbo());
        drawQuad(program(ShaderType::ShowVelocityMapShader));
        EXPECT_EQ(glm::vec3(target.pixel(4, 4)), glm::vec3(speed > 0.0f ? 1.0f : 0.0f, 0.0f, 0.0f));
    }
}

// --- the composite pass ---

class BlurTest : public ShaderRenderingTest {
  protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 8;

    void SetUp() override {
        ShaderRenderingTest::SetUp();
        ASSERT_TRUE(scene.init(kWidth, kHeight));
    }

    glm::vec3& colourAt(int x, int y) { return colour[static_cast<std::size_t>(y * kWidth + x)]; }

    // Composites colour, depth and `velocity` (the same everywhere) with the blur program.
    std::vector<glm::vec4> composite(int blurOn, float velocityScale) {
        const std::vector<glm::vec3> velocities(colour.size(), glm::vec3(velocity, 0.0f));
        upload(scene.colorTexture, GL_RGB, &colour[0].x);
        upload(scene.velocityTexture, GL_RGB, &velocities[0].x);
        upload(scene.depthTexture, GL_DEPTH_COMPONENT, depth.data());
        testsupport::ColorTarget target(kWidth, kHeight, GL_RGBA32F);
        GlslProg& blur = program(ShaderType::BlurShader);
        blur.bind();
        blur.setUniform("colorTexture", 0);
        blur.setUniform("velocityTexture", 1);
        blur.setUniform("depthTexture", 2);
        blur.setUniform("blurOn", blurOn);
        blur.setUniform("velocityScale", velocityScale);
        scene.bindForReading();
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.fbo());
        drawQuad(blur);
        return target.read();
    }

    static float red(const std::vector<glm::vec4>& pixels, int x, int y) { return pixels[y * kWidth + x].r; }

    SceneRenderTarget scene;
    std::vector<glm::vec3> colour = std::vector<glm::vec3>(kWidth * kHeight, glm::vec3(0.0f));
    std::vector<float> depth = std::vector<float>(kWidth * kHeight, 0.9f);
    glm::vec2 velocity{0.0f};

  private:
    static void upload(GLuint texture, GLenum format, const float* data) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, format, GL_FLOAT, data);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
};

// With blur off every pixel is copied, clamped and gamma-encoded; motion smears along the velocity but
// not over what lies behind a nearer pixel.
TEST_F(BlurTest, BlurOffCopiesClampedAndGammaEncodedAndMotionSmearsButNotOverANearerPixel) {
    colourAt(32, 4) = glm::vec3(1.0f, 0.5f, 0.0f);
    colourAt(10, 1) = glm::vec3(0.25f);
    colourAt(11, 1) = glm::vec3(2.0f, -1.0f, 0.0f);
    velocity = glm::vec2(0.3f, 0.0f);  // ignored while blur is off
    const auto pixels = composite(0, 1.0f);
    EXPECT_LT(glm::distance(pixels[4 * kWidth + 32], glm::vec4(1.0f, 0.7297400f, 0.0f, 1.0f)), 1e-4f);
    EXPECT_NEAR(red(pixels, 10, 1), 0.5325205f, 1e-4);  // 0.25 and 0.5 to the power 1 / 2.2
    EXPECT_EQ(pixels[1 * kWidth + 11], glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(red(pixels, 31, 4) + red(pixels, 33, 4) + red(pixels, 32, 3), 0.0f);

    velocity = glm::vec2(0.0f);
    colourAt(32, 4) = glm::vec3(1.0f);
    colourAt(5, 6) = glm::vec3(0.5f, 0.2f, 0.1f);
    const auto still = composite(0, 1.0f);
    EXPECT_EQ(composite(1, 1.0f), still);  // no velocity
    velocity = glm::vec2(0.3f, 0.0f);      // beyond the limit of 5 % of the width: about 3 pixels of smear
    EXPECT_EQ(composite(1, 0.0f), still);  // velocityScale 0: a still frame
    // A smear of 0.4 pixels reaches nothing but the pixel itself.
    EXPECT_EQ(composite(1, 0.02f), still);

    const auto smeared = composite(1, 1.0f);
    EXPECT_LT(red(smeared, 32, 4), 1.0f);
    EXPECT_GT(red(smeared, 31, 4), 0.0f);
    EXPECT_GT(red(smeared, 33, 4), 0.0f);
    EXPECT_EQ(red(smeared, 36, 4) + red(smeared, 28, 4) + red(smeared, 32, 3) + red(smeared, 32, 5), 0.0f);

    depth[4 * kWidth + 32] = 0.2f;
    const auto nearer = composite(1, 1.0f);
    EXPECT_EQ(red(nearer, 31, 4) + red(nearer, 33, 4), 0.0f);
    EXPECT_GT(red(nearer, 32, 4), 0.0f);
}

// --- programs that draw into the scene target ---

class SceneProgramTest : public ShaderRenderingTest {
  protected:
    static constexpr int kSize = 16;

    void SetUp() override {
        ShaderRenderingTest::SetUp();
        ASSERT_TRUE(scene.init(kSize, kSize));
        glGenTextures(1, &white);
        glBindTexture(GL_TEXTURE_2D, white);
        const unsigned char texel[4] = {255, 255, 255, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    void TearDown() override {
        glDeleteTextures(1, &white);
        ShaderRenderingTest::TearDown();
    }

    // Camera half a unit in front of the quad; the previous frame saw everything shifted by (-0.2, 0.1).
    void setFrame(GlslProg& drawing, bool withPreviousFrame = true) {
        const glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -0.5f));
        drawing.bind();
        drawing.setUniform("projectionMatrix", glm::mat4(1.0f));
        drawing.setUniform("viewMatrix", view);
        if (withPreviousFrame) {
            drawing.setUniform("prevVPMatrix", glm::translate(glm::mat4(1.0f), glm::vec3(-0.2f, 0.1f, 0.0f)));
        }
        drawing.setUniform("modelMatrix", glm::mat4(1.0f));
        drawing.setUniform("prevModelMatrix", glm::mat4(1.0f));
        drawing.setUniform("invertedTransposedModelViewMatrix", view);
        drawing.setUniform("LightPosition_worldspace", glm::vec3(0.0f, 0.0f, 10.0f));
    }

    // Draws the quad into the scene target and returns (colour, velocity) at the centre.
    std::pair<glm::vec3, glm::vec3> drawCentre(GlslProg& drawing) {
        scene.bindForWriting();
        glViewport(0, 0, kSize, kSize);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, white);
        drawQuad(drawing);
        std::pair<glm::vec3, glm::vec3> centre;
        glBindFramebuffer(GL_READ_FRAMEBUFFER, scene.fbo);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_RGB, GL_FLOAT, &centre.first[0]);
        glReadBuffer(GL_COLOR_ATTACHMENT1);
        glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_RGB, GL_FLOAT, &centre.second[0]);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return centre;
    }

    SceneRenderTarget scene;
    GLuint white = 0;
};

// A previous view-projection never set (all zeros) gives no velocity rather than a division by zero.
// The shadow program darkens what the chosen cascade hides.
TEST_F(SceneProgramTest, EverySceneProgramWritesColourAndScreenVelocityAndTheShadowProgramDarkens) {
    for (ShaderType type :
         {ShaderType::ColorShader, ShaderType::ColorShaderRed, ShaderType::LightShader,
          ShaderType::TextureShader, ShaderType::ShadowShader, ShaderType::TransparentShader}) {
        SCOPED_TRACE(ShaderController::typeName(type));
        setFrame(program(type), false);
        if (type == ShaderType::TransparentShader) {
            glUniform1f(0, 0.3f);  // opacity
        }
        EXPECT_EQ(drawCentre(program(type)).second, glm::vec3(0.0f));
        setFrame(program(type));
        const auto [colour, velocity] = drawCentre(program(type));
        // Half the NDC motion: (x - (x - 0.2)) / 2 and (y - (y + 0.1)) / 2.
        EXPECT_LT(glm::distance(velocity, glm::vec3(0.1f, -0.05f, 0.0f)), 1e-5f);
        EXPECT_TRUE(glm::all(glm::greaterThanEqual(colour, glm::vec3(0.0f))) &&
                    glm::all(glm::lessThanEqual(colour, glm::vec3(2.0f))) &&
                    colour.r + colour.g + colour.b > 0.05f)
            << colour.r << " " << colour.g << " " << colour.b;
        if (type == ShaderType::ColorShaderRed) {
            EXPECT_EQ(colour, glm::vec3(1.0f, 0.0f, 0.0f));
        }
    }

    RenderTarget open(32, 32);
    RenderTarget blocked(32, 32);
    for (auto [target, depth] : {std::pair{&open, 1.0}, std::pair{&blocked, 0.0}}) {
        target->bindForWriting();
        glClearDepth(depth);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glClearDepth(1.0);
    RenderTarget::unbind();

    GlslProg& shadow = program(ShaderType::ShadowShader);
    setFrame(shadow);
    const glm::mat4 bias(0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1);
    for (const char* coord : {"ShadowCoord1", "ShadowCoord2", "ShadowCoord3"}) {
        shadow.setUniform(coord, bias);
    }
    // The samplers are left at their units 1 to 3. The fragment lies 0.5 in front of the camera: beyond
    // the first cascade's far distance of 0.1 it is in the second, beyond 0.3 in none.
    auto draw = [&](std::initializer_list<const RenderTarget*> maps, const glm::vec3& far) {
        GLenum unit = GL_TEXTURE1;
        for (const RenderTarget* map : maps) {
            glActiveTexture(unit++);
            glBindTexture(GL_TEXTURE_2D, map->texture);
        }
        shadow.bind();
        glUniform4fv(shadow.getUniformLocation("far_d"), 1, &glm::vec4(far, 0.0f)[0]);
        return drawCentre(shadow).first;
    };
    const glm::vec3 cascades(10.0f, 20.0f, 30.0f);
    const float lit = draw({&open, &blocked, &blocked}, cascades).g;
    const float shadowed = draw({&blocked, &open, &open}, cascades).g;
    EXPECT_GT(lit, 1.5f * shadowed);
    EXPECT_FLOAT_EQ(draw({&blocked, &open, &blocked}, glm::vec3(0.1f, 20.0f, 30.0f)).g, lit);
    EXPECT_FLOAT_EQ(draw({&open, &blocked, &open}, glm::vec3(0.1f, 20.0f, 30.0f)).g, shadowed);
    EXPECT_FLOAT_EQ(draw({&blocked, &blocked, &blocked}, glm::vec3(0.1f, 0.2f, 0.3f)).g, lit);

    // A surface turned away from the sun gets no sunlight, so no map darkens it (nor adds a highlight).
    shadow.bind();
    shadow.setUniform("LightPosition_worldspace", glm::vec3(10.0f, 0.0f, -10.0f));
    EXPECT_EQ(draw({&blocked, &blocked, &blocked}, cascades), draw({&open, &open, &open}, cascades));
    shadow.bind();
    shadow.setUniform("LightPosition_worldspace", glm::vec3(0.0f, 0.0f, 10.0f));

    shadow.setUniform("showFrustums", 1);
    const glm::vec3 tinted = draw({&open, &open, &open}, cascades);
    EXPECT_GT(tinted.r, 2.0f * tinted.g);  // the first cascade shows red
}

GLuint attached(GLenum attachment) {
    GLint name = 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, attachment,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return static_cast<GLuint>(name);
}

}  // namespace

// --- the targets themselves; what they hold is read back by the drawing tests above ---

// A zero-sized attachment makes an incomplete one, which says so. Linear filtering gives the shadow
// lookups their smoothing, which no centre sample shows; llvmpipe compares even with comparison off.
TEST_F(RenderTargetTest, ShadowAndSceneTargetsHoldTheirTexturesBindAsTheyShouldAndSayWhenIncomplete) {
    std::unique_ptr<RenderTarget> target;
    EXPECT_EQ(testsupport::capturedStdout([&] { target = std::make_unique<RenderTarget>(64, 32); }), "");
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    const GLuint fbo = target->fbo;
    const GLuint texture = target->texture;
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(texParameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    glViewport(0, 0, 8, 8);
    target->bindForWriting();
    EXPECT_EQ(static_cast<GLuint>(integer(GL_FRAMEBUFFER_BINDING)), fbo);
    // No colour buffer: Mesa forgives one left on, a strict 3.3 driver calls the target incomplete.
    EXPECT_EQ(integer(GL_DRAW_BUFFER), GL_NONE);
    EXPECT_EQ(integer(GL_READ_BUFFER), GL_NONE);
    glm::ivec4 viewport(0);
    glGetIntegerv(GL_VIEWPORT, &viewport[0]);
    EXPECT_EQ(viewport, glm::ivec4(0, 0, 64, 32));
    RenderTarget::unbind();
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    target.reset();
    EXPECT_EQ(glIsFramebuffer(fbo), GL_FALSE);
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);

    EXPECT_EQ(testsupport::capturedStdout([] { RenderTarget incomplete(0, 0); }), "Framebuffer failer\n");
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);

    // A scene target: writing leaves the read framebuffer alone; an incomplete one prints its status
    // (incomplete attachment) and stays bound.
    SceneRenderTarget scene;
    EXPECT_EQ(testsupport::capturedStdout([&] { EXPECT_TRUE(scene.init(40, 30)); }), "");
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    scene.bindForWriting();
    EXPECT_EQ(static_cast<GLuint>(integer(GL_DRAW_FRAMEBUFFER_BINDING)), scene.fbo);
    EXPECT_EQ(integer(GL_READ_FRAMEBUFFER_BINDING), 0);
    // The drawing tests read the attachments back, which would hide two textures swapped.
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT0), scene.colorTexture);
    EXPECT_EQ(attached(GL_COLOR_ATTACHMENT1), scene.velocityTexture);
    EXPECT_EQ(attached(GL_DEPTH_ATTACHMENT), scene.depthTexture);
    scene.bindForReading();
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);

    SceneRenderTarget incomplete;
    EXPECT_EQ(testsupport::capturedStdout([&] { EXPECT_FALSE(incomplete.init(0, 0)); }),
              "FB error, status: 0x8cd6\n");
    EXPECT_EQ(static_cast<GLuint>(integer(GL_DRAW_FRAMEBUFFER_BINDING)), incomplete.fbo);
}
