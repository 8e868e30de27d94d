#include "camera/BoundingBox.h"

#include <memory>

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "tests/support/ColorTarget.h"
#include "tests/support/GlContext.h"

using common::camera::BoundingBox;

namespace {

// Pixel centres 16.5 and 47.5 of a 64-pixel viewport, in normalised device coordinates.
constexpr float kEdge = 16.5f / 32.0f - 1.0f;

// Draws into a 64 x 64 colour target with identity projection and view, so a box's x and y are
// normalised device coordinates.
class BoundingBoxGl : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        program = common::gl::ShaderController::instance().getShader(common::gl::ShaderType::ColorShaderRed);
        ASSERT_NE(program, nullptr);
        program->bind();
        for (const char* name : {"projectionMatrix", "viewMatrix", "prevVPMatrix"}) {
            program->setUniform(name, glm::mat4(1.0f));
        }
        common::gl::GlslProg::unbind();
        target.bind();
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Which of the pixels are pure red.
    std::vector<bool> red(std::initializer_list<std::pair<int, int>> pixels) const {
        std::vector<bool> result;
        for (auto [x, y] : pixels) {
            result.push_back(glm::vec3(target.pixel(x, y)) == glm::vec3(1.0f, 0.0f, 0.0f));
        }
        return result;
    }

    testsupport::ColorTarget target{64, 64};
    common::gl::GlslProg* program = nullptr;
};

}  // namespace

// The side edges land where the model matrix puts them, nothing inside; a copy, assigned or constructed,
// never depends on the geometry of the box it was copied from.
TEST_F(BoundingBoxGl, DrawsTheEdgesWhereTheModelMatrixPutsThemAlsoFromACopy) {
    auto original =
        std::make_unique<BoundingBox>(glm::vec3(kEdge, kEdge, -0.5f), glm::vec3(-kEdge, -kEdge, 0.5f));
    original->draw(*program, glm::mat4(1.0f));
    EXPECT_EQ(red({{16, 32}, {47, 32}, {32, 16}, {32, 47}, {32, 32}}),
              (std::vector<bool>{true, true, true, true, false}));
    glClear(GL_COLOR_BUFFER_BIT);
    original->draw(*program,
                   glm::translate(glm::mat4(1.0f), glm::vec3(0.25f, 0.0f, 0.0f)));  // 8 pixels to the right
    EXPECT_EQ(red({{24, 32}, {55, 32}, {16, 32}}), (std::vector<bool>{true, true, false}));

    BoundingBox assigned(glm::vec3(0.0f), glm::vec3(0.1f));
    assigned.draw(*program, glm::mat4(1.0f));  // has geometry of its own before the assignment
    assigned = *original;
    const BoundingBox copied(*original);
    original.reset();
    for (const BoundingBox* copy : {static_cast<const BoundingBox*>(&assigned), &copied}) {
        glClear(GL_COLOR_BUFFER_BIT);
        copy->draw(*program, glm::mat4(1.0f));
        EXPECT_EQ(red({{16, 32}, {47, 32}}), (std::vector<bool>{true, true}));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
