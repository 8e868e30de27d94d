#include "camera/BoundingBox.h"

#include <memory>

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "gl/ShaderType.h"
#include "tests/support/GlContext.h"

using common::camera::BoundingBox;
using common::gl::ShaderController;
using common::gl::ShaderType;

namespace {

constexpr int kSize = 64;
// Pixel centres 16.5 and 47.5 of a 64-pixel viewport, in normalised device coordinates.
constexpr float kEdge = 16.5f / 32.0f - 1.0f;

// Draws boxes into an off-screen 64 x 64 colour target with identity projection and view, so a box's
// x and y are normalised device coordinates.
class BoundingBoxGl : public testsupport::GlTest {
  protected:
    void SetUp() override {
        testsupport::GlTest::SetUp();
        program_ = ShaderController::instance().getShader(ShaderType::ColorShaderRed);
        ASSERT_NE(program_, nullptr);
        program_->bind();
        for (const char* name : {"projectionMatrix", "viewMatrix", "prevVPMatrix"}) {
            program_->setUniform(name, glm::mat4(1.0f));
        }
        common::gl::GlslProg::unbind();
        glGenTextures(1, &colour_);
        glBindTexture(GL_TEXTURE_2D, colour_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, kSize, kSize);
        clear();
    }

    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteTextures(1, &colour_);
    }

    void clear() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    bool isRed(int x, int y) {
        unsigned char pixel[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 0;
    }

    common::gl::GlslProg* program_ = nullptr;
    GLuint colour_ = 0;
    GLuint framebuffer_ = 0;
};

}  // namespace

// Drawing: the edges land where the model matrix puts them, nothing inside.
TEST_F(BoundingBoxGl, DrawsTheEdgesWhereTheModelMatrixPutsThem) {
    const BoundingBox box(glm::vec3(kEdge, kEdge, -0.5f), glm::vec3(-kEdge, -kEdge, 0.5f));
    box.draw(glm::mat4(1.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(isRed(16, 32));
    EXPECT_TRUE(isRed(47, 32));
    EXPECT_TRUE(isRed(32, 16));
    EXPECT_TRUE(isRed(32, 47));
    EXPECT_FALSE(isRed(32, 32));

    clear();
    box.draw(glm::translate(glm::mat4(1.0f), glm::vec3(0.25f, 0.0f, 0.0f)));  // 8 pixels to the right
    EXPECT_TRUE(isRed(24, 32));
    EXPECT_TRUE(isRed(55, 32));
    EXPECT_FALSE(isRed(16, 32));
}

// Ownership: a copy never depends on the geometry of the box it was copied from.
TEST_F(BoundingBoxGl, CopyStillDrawsAfterTheOriginalIsGone) {
    auto original =
        std::make_unique<BoundingBox>(glm::vec3(kEdge, kEdge, -0.5f), glm::vec3(-kEdge, -kEdge, 0.5f));
    original->draw(glm::mat4(1.0f));
    BoundingBox assigned(glm::vec3(0.0f), glm::vec3(0.1f));
    assigned.draw(glm::mat4(1.0f));  // has geometry of its own before the assignment
    assigned = *original;
    const BoundingBox copied(*original);
    original.reset();
    for (const BoundingBox* copy : {static_cast<const BoundingBox*>(&assigned), &copied}) {
        clear();
        copy->draw(glm::mat4(1.0f));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_TRUE(isRed(16, 32));
    }
}
