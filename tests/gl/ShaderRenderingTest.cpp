// Draws with the game's own GLSL programs into off-screen targets and reads the pixels back.

#include <GL/glew.h>

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "gl/GlslProg.h"
#include "gl/RenderTarget.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "gl/Texture.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using common::gl::GlslProg;
using common::gl::MipmapMode;
using common::gl::RenderTarget;
using common::gl::SceneRenderTarget;
using common::gl::ShaderController;
using common::gl::ShaderType;
using common::gl::Texture;
using common::gl::TextureFilter;

namespace {

struct Rgba {
    float r, g, b, a;
};

Rgba pixelAt(const std::vector<float>& pixels, int width, int x, int y) {
    const std::size_t i = static_cast<std::size_t>(y * width + x) * 4;
    return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
}

float encoded(float linear) {
    return std::pow(linear, 1.0f / 2.2f);
}

class ShaderRenderingTest : public testsupport::GlTest {
  protected:
    void SetUp() override {
        testsupport::GlTest::SetUp();
        testsupport::beginStdoutCapture();
        registry = std::make_unique<ShaderController>();
        testsupport::endStdoutCapture();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
    }

    void TearDown() override {
        for (GLenum unit : {GL_TEXTURE3, GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        GlslProg::unbind();
    }

    GlslProg& program(ShaderType type) { return *registry->getShader(type); }

    // The game's quads take their attribute locations from the quad program.
    std::unique_ptr<gltest::FullScreenQuad> gameQuad() {
        const GLuint quad = program(ShaderType::QuadShader).handle;
        return std::make_unique<gltest::FullScreenQuad>(glGetAttribLocation(quad, "position"),
                                                        glGetAttribLocation(quad, "uv"),
                                                        glGetAttribLocation(quad, "normal"));
    }

    // A 2 x 2 picture: bottom row red (opaque), green (half transparent); top row blue, white (transparent).
    std::unique_ptr<Texture> cornerTexture() {
        const std::string file = (dir.path() / "corners.png").string();
        const std::vector<gltest::Bgra> pixels = {
            {0, 0, 255, 255}, {0, 255, 0, 128}, {255, 0, 0, 255}, {255, 255, 255, 0}};
        EXPECT_TRUE(gltest::writeImage(file, FIF_PNG, 2, 2, 32, pixels));
        auto texture = std::make_unique<Texture>(file.c_str(), GL_TEXTURE_2D);
        texture->setFilter(TextureFilter::Nearest);
        texture->setMipmapMode(MipmapMode::Off);
        return texture;
    }

    std::unique_ptr<ShaderController> registry;
    testsupport::TempDir dir;
};

// --- programs that draw straight to the window ---

TEST_F(ShaderRenderingTest, TheQuadProgramStretchesUnitZeroOverTheViewportWithItsAlpha) {
    auto texture = cornerTexture();
    gltest::ColorTarget target(8, 8);
    ASSERT_TRUE(target.complete());
    auto quad = gameQuad();
    texture->bind(0);
    program(ShaderType::QuadShader).bind();
    quad->draw();
    const auto pixels = target.read();
    EXPECT_TRUE(gltest::glErrors().empty());

    const Rgba bottomLeft = pixelAt(pixels, 8, 1, 1);
    EXPECT_FLOAT_EQ(bottomLeft.r, 1.0f);
    EXPECT_FLOAT_EQ(bottomLeft.g, 0.0f);
    EXPECT_FLOAT_EQ(bottomLeft.a, 1.0f);
    const Rgba bottomRight = pixelAt(pixels, 8, 6, 1);
    EXPECT_FLOAT_EQ(bottomRight.g, 1.0f);
    EXPECT_NEAR(bottomRight.a, 128.0f / 255.0f, 1e-3);
    const Rgba topLeft = pixelAt(pixels, 8, 1, 6);
    EXPECT_FLOAT_EQ(topLeft.b, 1.0f);
    EXPECT_FLOAT_EQ(topLeft.r, 0.0f);
    EXPECT_FLOAT_EQ(pixelAt(pixels, 8, 6, 6).a, 0.0f);
}

TEST_F(ShaderRenderingTest, TheArrowProgramTurnsTheQuadByRotate) {
    auto texture = cornerTexture();
    gltest::ColorTarget target(8, 8);
    auto quad = gameQuad();
    texture->bind(0);
    GlslProg& arrow = program(ShaderType::ArrowShader);
    arrow.bind();
    // A quarter turn counter-clockwise: the picture's bottom-left corner moves to the bottom right.
    arrow.setUniform("rotate", glm::rotate(glm::mat4(1.0f), float(90.0 * 0.017453292), glm::vec3(0, 0, 1)));
    quad->draw();
    const auto pixels = target.read();
    const Rgba bottomRight = pixelAt(pixels, 8, 6, 1);
    EXPECT_FLOAT_EQ(bottomRight.r, 1.0f);
    EXPECT_FLOAT_EQ(bottomRight.b, 0.0f);
    EXPECT_FLOAT_EQ(pixelAt(pixels, 8, 1, 1).b, 1.0f);  // blue came from the top left
}

TEST_F(ShaderRenderingTest, TheTextProgramMapsWindowPixelsOntoTheViewport) {
    testsupport::beginStdoutCapture();
    GlslProg text("../resources/shaders/textShader/TextVertexShader.vert",
                  "../resources/shaders/textShader/TextFragmentShader.frag");
    testsupport::endStdoutCapture();
    auto texture = cornerTexture();

    // One glyph-like square over window pixels 0..4 x 0..4 of an 8 x 8 window, showing the whole picture.
    const float corners[] = {0, 4, 0, 0, 4, 4, 4, 0, 4, 4, 0, 0};
    const float uvs[] = {0, 1, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0};
    GLuint vao = 0;
    GLuint buffers[2] = {};
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(2, buffers);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, buffers[1]);
    glBufferData(GL_ARRAY_BUFFER, sizeof uvs, uvs, GL_STATIC_DRAW);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    gltest::ColorTarget target(8, 8);
    texture->bind(0);
    text.bind();
    text.setUniform("size", glm::vec2(8.0f, 8.0f));
    text.setUniform("myTextureSampler", 0);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    const auto pixels = target.read();
    glBindVertexArray(0);
    glDeleteBuffers(2, buffers);
    glDeleteVertexArrays(1, &vao);
    EXPECT_TRUE(gltest::glErrors().empty());

    EXPECT_FLOAT_EQ(pixelAt(pixels, 8, 0, 0).r, 1.0f);  // the picture's bottom left at the window's
    EXPECT_FLOAT_EQ(pixelAt(pixels, 8, 0, 3).b, 1.0f);
    EXPECT_NEAR(pixelAt(pixels, 8, 3, 0).a, 128.0f / 255.0f, 1e-3);
    EXPECT_FLOAT_EQ(pixelAt(pixels, 8, 3, 3).a, 0.0f);
    for (auto [x, y] : {std::pair{4, 0}, std::pair{0, 4}, std::pair{6, 6}}) {
        const Rgba outside = pixelAt(pixels, 8, x, y);
        EXPECT_FLOAT_EQ(outside.r + outside.g + outside.b + outside.a, 0.0f) << x << "," << y;
    }
}

TEST_F(ShaderRenderingTest, TheDepthProgramWritesDepthSeenThroughProjectionViewAndModel) {
    RenderTarget map(16, 16);
    map.bindForWriting();
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    GlslProg& depth = program(ShaderType::ShadowDepthShader);
    depth.bind();
    depth.setUniform("projectionMatrix", glm::scale(glm::mat4(1.0f), glm::vec3(1.0f, 1.0f, 0.5f)));
    depth.setUniform("viewMatrix", glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -0.2f)));
    depth.setUniform("modelMatrix", glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -0.4f)));
    gltest::FullScreenQuad().draw();
    glDisable(GL_DEPTH_TEST);
    float value = -1.0f;
    glReadPixels(8, 8, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &value);
    RenderTarget::unbind();
    // z = 0.5 x (-0.4 - 0.2) = -0.3 in clip space, so depth 0.35.
    EXPECT_NEAR(value, 0.35f, 1e-3);
    EXPECT_TRUE(gltest::glErrors().empty());
}

// --- the composite pass ---

class BlurTest : public ShaderRenderingTest {
  protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 8;

    void SetUp() override {
        ShaderRenderingTest::SetUp();
        ASSERT_TRUE(scene.init(kWidth, kHeight));
        colour.assign(kWidth * kHeight * 3, 0.0f);
        velocity.assign(kWidth * kHeight * 3, 0.0f);
        depth.assign(kWidth * kHeight, 0.9f);
    }

    void setColour(int x, int y, float r, float g, float b) {
        const std::size_t i = static_cast<std::size_t>(y * kWidth + x) * 3;
        colour[i] = r;
        colour[i + 1] = g;
        colour[i + 2] = b;
    }

    void setVelocityEverywhere(float x, float y) {
        for (std::size_t i = 0; i < velocity.size(); i += 3) {
            velocity[i] = x;
            velocity[i + 1] = y;
        }
    }

    // Uploads the scene target's three textures, composites with the blur program, returns the result.
    std::vector<float> composite(int blurOn, float velocityScale) {
        upload(scene.colorTexture, GL_RGB, colour.data());
        upload(scene.velocityTexture, GL_RGB, velocity.data());
        upload(scene.depthTexture, GL_DEPTH_COMPONENT, depth.data());
        gltest::ColorTarget target(kWidth, kHeight);
        auto quad = gameQuad();
        GlslProg& blur = program(ShaderType::BlurShader);
        blur.bind();
        blur.setUniform("colorTexture", 0);
        blur.setUniform("velocityTexture", 1);
        blur.setUniform("depthTexture", 2);
        blur.setUniform("blurOn", blurOn);
        blur.setUniform("velocityScale", velocityScale);
        scene.bindForReading();
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.fbo());
        quad->draw();
        EXPECT_TRUE(gltest::glErrors().empty());
        return target.read();
    }

    float red(const std::vector<float>& pixels, int x, int y) const {
        return pixelAt(pixels, kWidth, x, y).r;
    }

    SceneRenderTarget scene;
    std::vector<float> colour;
    std::vector<float> velocity;
    std::vector<float> depth;

  private:
    static void upload(GLuint texture, GLenum format, const float* data) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kWidth, kHeight, format, GL_FLOAT, data);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
};

TEST_F(BlurTest, WithBlurOffEveryPixelIsCopiedAndGammaEncoded) {
    setColour(32, 4, 1.0f, 0.5f, 0.0f);
    setColour(10, 1, 0.25f, 0.25f, 0.25f);
    setColour(11, 1, 2.0f, -1.0f, 0.0f);  // out of range: clamped
    setVelocityEverywhere(0.3f, 0.0f);    // ignored while blur is off
    const auto pixels = composite(0, 1.0f);
    const Rgba lit = pixelAt(pixels, kWidth, 32, 4);
    EXPECT_FLOAT_EQ(lit.r, 1.0f);
    EXPECT_NEAR(lit.g, encoded(0.5f), 1e-4);
    EXPECT_FLOAT_EQ(lit.b, 0.0f);
    EXPECT_FLOAT_EQ(lit.a, 1.0f);
    EXPECT_NEAR(red(pixels, 10, 1), encoded(0.25f), 1e-4);
    EXPECT_FLOAT_EQ(red(pixels, 11, 1), 1.0f);
    EXPECT_FLOAT_EQ(pixelAt(pixels, kWidth, 11, 1).g, 0.0f);
    for (int x : {31, 33}) {
        EXPECT_FLOAT_EQ(red(pixels, x, 4), 0.0f) << x;
    }
    EXPECT_FLOAT_EQ(red(pixels, 32, 3), 0.0f);
}

TEST_F(BlurTest, WithoutMotionBlurringChangesNothing) {
    setColour(32, 4, 1.0f, 1.0f, 1.0f);
    setColour(5, 6, 0.5f, 0.2f, 0.1f);
    EXPECT_EQ(composite(1, 1.0f), composite(0, 1.0f));
    setVelocityEverywhere(0.3f, 0.0f);
    EXPECT_EQ(composite(1, 0.0f), composite(0, 1.0f));  // velocityScale 0: a still frame
}

TEST_F(BlurTest, MotionSmearsAPixelAlongItsVelocityOnly) {
    setColour(32, 4, 1.0f, 1.0f, 1.0f);
    setVelocityEverywhere(0.3f, 0.0f);  // more than the limit of 5 % of the width: about 3 pixels of smear
    const auto pixels = composite(1, 1.0f);
    EXPECT_LT(red(pixels, 32, 4), 1.0f);
    EXPECT_GT(red(pixels, 31, 4), 0.0f);
    EXPECT_GT(red(pixels, 33, 4), 0.0f);
    EXPECT_FLOAT_EQ(red(pixels, 36, 4), 0.0f);
    EXPECT_FLOAT_EQ(red(pixels, 28, 4), 0.0f);
    EXPECT_FLOAT_EQ(red(pixels, 32, 3), 0.0f);
    EXPECT_FLOAT_EQ(red(pixels, 32, 5), 0.0f);
}

TEST_F(BlurTest, ANearerPixelDoesNotSmearOverWhatLiesBehindIt) {
    setColour(32, 4, 1.0f, 1.0f, 1.0f);
    depth[static_cast<std::size_t>(4 * kWidth + 32)] = 0.2f;
    setVelocityEverywhere(0.3f, 0.0f);
    const auto pixels = composite(1, 1.0f);
    EXPECT_FLOAT_EQ(red(pixels, 31, 4), 0.0f);
    EXPECT_FLOAT_EQ(red(pixels, 33, 4), 0.0f);
    EXPECT_GT(red(pixels, 32, 4), 0.0f);
}

TEST_F(ShaderRenderingTest, TheVelocityPreviewIsBlackWhenStillAndBrightWhenMoving) {
    SceneRenderTarget scene;
    ASSERT_TRUE(scene.init(8, 8));
    scene.bindForWriting();
    const float moving[4] = {0.05f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 1, moving);
    gltest::ColorTarget target(8, 8);
    auto quad = gameQuad();
    scene.bindVelocityForReading();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.fbo());
    program(ShaderType::ShowVelocityMapShader).bind();
    quad->draw();
    const Rgba right = pixelAt(target.read(), 8, 4, 4);
    EXPECT_FLOAT_EQ(right.r, 1.0f);  // rightward motion reads red
    EXPECT_FLOAT_EQ(right.g, 0.0f);

    scene.bindForWriting();
    const float still[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glClearBufferfv(GL_COLOR, 1, still);
    scene.bindVelocityForReading();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.fbo());
    quad->draw();
    const Rgba black = pixelAt(target.read(), 8, 4, 4);
    EXPECT_FLOAT_EQ(black.r + black.g + black.b, 0.0f);
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
    void setFrame(GlslProg& target, bool withPreviousFrame = true) {
        const glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -0.5f));
        target.bind();
        target.setUniform("projectionMatrix", glm::mat4(1.0f));
        target.setUniform("viewMatrix", view);
        if (withPreviousFrame) {
            target.setUniform("prevVPMatrix", glm::translate(glm::mat4(1.0f), glm::vec3(-0.2f, 0.1f, 0.0f)));
        }
        target.setUniform("modelMatrix", glm::mat4(1.0f));
        target.setUniform("prevModelMatrix", glm::mat4(1.0f));
        target.setUniform("invertedTransposedModelViewMatrix", view);
        target.setUniform("LightPosition_worldspace", glm::vec3(0.0f, 0.0f, 10.0f));
    }

    // Draws the quad into the scene target and returns (colour, velocity) at the centre.
    std::pair<glm::vec3, glm::vec3> drawCentre(GlslProg& target) {
        scene.bindForWriting();
        glViewport(0, 0, kSize, kSize);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, white);
        target.bind();
        gltest::FullScreenQuad().draw();
        EXPECT_TRUE(gltest::glErrors().empty());
        glm::vec3 colour(0.0f);
        glm::vec3 velocity(0.0f);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, scene.fbo);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_RGB, GL_FLOAT, &colour[0]);
        glReadBuffer(GL_COLOR_ATTACHMENT1);
        glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_RGB, GL_FLOAT, &velocity[0]);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        return {colour, velocity};
    }

    SceneRenderTarget scene;
    GLuint white = 0;
};

TEST_F(SceneProgramTest, EverySceneProgramWritesColourAndScreenVelocity) {
    for (ShaderType type :
         {ShaderType::ColorShader, ShaderType::ColorShaderRed, ShaderType::LightShader,
          ShaderType::TextureShader, ShaderType::ShadowShader, ShaderType::TransparentShader}) {
        const std::string name = ShaderController::typeName(type);
        setFrame(program(type));
        if (type == ShaderType::TransparentShader) {
            glUniform1f(0, 0.3f);  // opacity
        }
        const auto [colour, velocity] = drawCentre(program(type));
        // Half the NDC motion: (x - (x - 0.2)) / 2 and (y - (y + 0.1)) / 2.
        EXPECT_NEAR(velocity.x, 0.1f, 1e-5) << name;
        EXPECT_NEAR(velocity.y, -0.05f, 1e-5) << name;
        EXPECT_FLOAT_EQ(velocity.z, 0.0f) << name;
        for (int c = 0; c < 3; ++c) {
            EXPECT_TRUE(std::isfinite(colour[c]) && colour[c] >= 0.0f && colour[c] <= 2.0f)
                << name << " " << c;
        }
        EXPECT_GT(colour.r + colour.g + colour.b, 0.05f) << name;
    }
}

TEST_F(SceneProgramTest, APreviousViewProjectionNeverSetGivesNoVelocity) {
    for (ShaderType type : {ShaderType::ColorShader, ShaderType::LightShader, ShaderType::ShadowShader}) {
        setFrame(program(type), false);
        const auto [colour, velocity] = drawCentre(program(type));
        EXPECT_EQ(velocity, glm::vec3(0.0f)) << ShaderController::typeName(type);
    }
}

TEST_F(SceneProgramTest, TheRedProgramIsPureRed) {
    setFrame(program(ShaderType::ColorShaderRed));
    EXPECT_EQ(drawCentre(program(ShaderType::ColorShaderRed)).first, glm::vec3(1.0f, 0.0f, 0.0f));
}

TEST_F(SceneProgramTest, TheShadowProgramDarkensWhatTheChosenCascadeHides) {
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
    shadow.setUniform("ShadowCoord1", bias);
    shadow.setUniform("ShadowCoord2", bias);
    shadow.setUniform("ShadowCoord3", bias);
    auto useMaps = [](const RenderTarget& first, const RenderTarget& second, const RenderTarget& third) {
        const RenderTarget* maps[] = {&first, &second, &third};
        for (int i = 0; i < 3; ++i) {
            glActiveTexture(GL_TEXTURE1 + i);
            glBindTexture(GL_TEXTURE_2D, maps[i]->texture);
        }
    };
    // The fragment lies 0.5 in front of the camera.
    auto farDistances = [&shadow](float first, float second, float third) {
        shadow.bind();
        const float values[4] = {first, second, third, 0.0f};
        glUniform4fv(shadow.getUniformLocation("far_d"), 1, values);
    };

    useMaps(open, blocked, blocked);
    farDistances(10.0f, 20.0f, 30.0f);
    const float lit = drawCentre(shadow).first.g;
    useMaps(blocked, open, open);
    const float shadowed = drawCentre(shadow).first.g;
    EXPECT_GT(lit, 1.5f * shadowed);

    farDistances(0.1f, 20.0f, 30.0f);  // second cascade
    EXPECT_FLOAT_EQ(drawCentre(shadow).first.g, lit);
    useMaps(open, blocked, open);
    EXPECT_FLOAT_EQ(drawCentre(shadow).first.g, shadowed);
    farDistances(0.1f, 0.2f, 0.3f);  // beyond the last cascade nothing is shadowed
    useMaps(blocked, blocked, blocked);
    EXPECT_FLOAT_EQ(drawCentre(shadow).first.g, lit);

    shadow.bind();
    shadow.setUniform("showFrustums", 1);
    farDistances(10.0f, 20.0f, 30.0f);
    useMaps(open, open, open);
    const glm::vec3 tinted = drawCentre(shadow).first;
    EXPECT_GT(tinted.r, 2.0f * tinted.g);  // the first cascade shows red
    shadow.bind();
    shadow.setUniform("showFrustums", 0);
}

}  // namespace
