#include "gl/ShaderController.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/CameraPersp.h"
#include "gl/GlslProg.h"
#include "scene/Light.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using namespace common::gl;

namespace {

// In load order.
const std::vector<std::pair<ShaderType, std::string>> kPrograms = {
    {ShaderType::ColorShader, "ColorShader"},
    {ShaderType::ColorShaderRed, "ColorShaderRed"},
    {ShaderType::LightShader, "LightShader"},
    {ShaderType::TextureShader, "TextureShader"},
    {ShaderType::ShadowDepthShader, "ShadowDepthShader"},
    {ShaderType::ShadowShader, "ShadowShader"},
    {ShaderType::BlurShader, "BlurShader"},
    {ShaderType::TransparentShader, "TransparentShader"},
    {ShaderType::QuadShader, "QuadShader"},
    {ShaderType::ShowVelocityMapShader, "ShowVelocityMapShader"},
    {ShaderType::ArrowShader, "ArrowShader"},
};

std::string loadLines(std::size_t from, std::size_t to) {
    std::string lines;
    for (std::size_t i = from; i < to; ++i) {
        lines += "Shader loaded\nDebug: Loaded shader of typ " + kPrograms[i].second + "\n";
    }
    return lines;
}

// A float, vector or matrix uniform read back.
template <typename T>
T uniformValue(const GlslProg& program, GLint location) {
    T value(-99.0f);
    glGetUniformfv(program.handle, location, reinterpret_cast<float*>(&value));
    return value;
}

class ShaderControllerTest : public testsupport::GlTest {
  protected:
    // A registry of its own, built from the staged shaders; its console lines are kept in `output`.
    std::unique_ptr<ShaderController> fresh() {
        testsupport::beginStdoutCapture();
        auto registry = std::make_unique<ShaderController>();
        output = testsupport::endStdoutCapture();
        return registry;
    }

    std::string output;
};

}  // namespace

// --- loading ---

TEST_F(ShaderControllerTest, AllElevenProgramsLoadAndLinkInLoadOrder) {
    auto registry = fresh();
    EXPECT_EQ(output, "Debug: ShaderController created\n" + loadLines(0, kPrograms.size()));
    for (const auto& [type, name] : kPrograms) {
        ASSERT_NE(registry->getShader(type), nullptr) << name;
        GLint linked = GL_FALSE;
        glGetProgramiv(registry->getShader(type)->handle, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << name;
        EXPECT_EQ(ShaderController::typeName(type), name);
    }
    for (int noProgram : {8, 12, -1}) {
        EXPECT_EQ(registry->getShader(static_cast<ShaderType>(noProgram)), nullptr) << noProgram;
        EXPECT_EQ(ShaderController::typeName(static_cast<ShaderType>(noProgram)), "Unknown Typ");
    }

    testsupport::beginStdoutCapture();
    ShaderController& shared = ShaderController::instance();
    testsupport::endStdoutCapture();
    EXPECT_EQ(&ShaderController::instance(), &shared);
}

TEST_F(ShaderControllerTest, AProgramThatCannotBeReadIsLeftOutAndTheRestLoad) {
    testsupport::TempDir root;
    std::filesystem::create_directories(root.path() / "bin");
    std::filesystem::create_directories(root.path() / "resources");
    std::filesystem::copy("../resources/shaders", root.path() / "resources" / "shaders",
                          std::filesystem::copy_options::recursive);
    const std::string missing = "../resources/shaders/lightShader/SimpleLightFragmentShader.frag";
    std::filesystem::remove(root.path() / "bin" / missing);
    testsupport::ScopedCwd cwd(root.path() / "bin");

    auto registry = fresh();
    EXPECT_EQ(output, "Debug: ShaderController created\n" + loadLines(0, 2) + "VERTEX: Impossible to open " +
                          missing + ". Are you in the right directory ? Don't forget to read the FAQ !\n" +
                          loadLines(3, kPrograms.size()));
    for (const auto& [type, name] : kPrograms) {
        EXPECT_EQ(registry->getShader(type) == nullptr, type == ShaderType::LightShader) << name;
    }
}

// --- what the GLSL files promise the rest of the game ---

TEST_F(ShaderControllerTest, EveryProgramTakesTheUniformsTheGameSets) {
    auto registry = fresh();
    const std::string frame = " projectionMatrix viewMatrix prevVPMatrix modelMatrix prevModelMatrix";
    const std::string lit = " invertedTransposedModelViewMatrix LightPosition_worldspace myTextureSampler";
    const std::pair<ShaderType, std::string> required[] = {
        {ShaderType::ColorShader, "invertedTransposedModelViewMatrix" + frame},
        {ShaderType::ColorShaderRed, frame},
        {ShaderType::LightShader, lit + frame},
        {ShaderType::TextureShader, "myTextureSampler" + frame},
        {ShaderType::ShadowShader,
         lit + frame +
             " ShadowCoord1 ShadowCoord2 ShadowCoord3 shadowMap1 shadowMap2 shadowMap3 far_d showFrustums"},
        {ShaderType::TransparentShader, frame},
        {ShaderType::ShadowDepthShader, "projectionMatrix viewMatrix modelMatrix"},
        {ShaderType::BlurShader, "colorTexture velocityTexture depthTexture blurOn velocityScale"},
        {ShaderType::QuadShader, "myTextureSampler"},
        {ShaderType::ShowVelocityMapShader, "velocityTexture"},
        {ShaderType::ArrowShader, "rotate myTextureSampler"},
    };
    for (const auto& [type, names] : required) {
        std::istringstream list(names);
        for (std::string name; list >> name;) {
            EXPECT_NE(glGetUniformLocation(registry->getShader(type)->handle, name.c_str()), -1)
                << ShaderController::typeName(type) << " " << name;
        }
    }
}

TEST_F(ShaderControllerTest, AttributesSitAtTheMeshLocationsAndTheQuadUsesAllThree) {
    auto registry = fresh();
    const char* const names[] = {"position", "uv", "normal"};
    for (const auto& [type, name] : kPrograms) {
        for (GLint location = 0; location < 3; ++location) {
            const GLint found = glGetAttribLocation(registry->getShader(type)->handle, names[location]);
            // The quads' vertex arrays take the quad program's locations, so all three must be active there.
            if (found != -1 || type == ShaderType::QuadShader) {
                EXPECT_EQ(found, location) << name << " " << names[location];
            }
        }
    }
}

// --- the per-frame update ---

TEST_F(ShaderControllerTest, TheFrameUpdateGivesEveryProgramTheCameraAndTheDepthProgramTheLight) {
    auto registry = fresh();
    common::camera::CameraPersp camera;
    camera.lookAt(glm::vec3(5.0f, 30.0f, 80.0f), glm::vec3(0.0f, 10.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setPerspective(45.0f, 1.5f, 1.0f, 1000.0f);
    const common::scene::Light light(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.2f));
    const glm::mat4 previous = glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, -2.0f, 3.0f));

    registry->updateCommonUniforms(camera, light, previous);

    EXPECT_EQ(gltest::integer(GL_CURRENT_PROGRAM), 0);
    for (const auto& [type, name] : kPrograms) {
        const GlslProg& program = *registry->getShader(type);
        const std::pair<const char*, glm::mat4> expected[] = {
            {"projectionMatrix", camera.projectionMatrix},
            {"prevVPMatrix", previous},
            {"viewMatrix",
             type == ShaderType::ShadowDepthShader ? light.camera.viewMatrix : camera.viewMatrix},
        };
        for (const auto& [uniform, value] : expected) {
            const GLint location = glGetUniformLocation(program.handle, uniform);
            if (location != -1) {
                EXPECT_EQ(uniformValue<glm::mat4>(program, location), value) << name << " " << uniform;
            }
        }
    }
    for (ShaderType type : {ShaderType::LightShader, ShaderType::ShadowShader}) {
        const GlslProg& program = *registry->getShader(type);
        EXPECT_EQ(uniformValue<glm::vec3>(program,
                                          glGetUniformLocation(program.handle, "LightPosition_worldspace")),
                  light.position);
    }
}

TEST_F(ShaderControllerTest, TheStartingOpacityIsWrittenOnTheFirstUpdateOnly) {
    auto registry = fresh();
    const GlslProg& transparent = *registry->getShader(ShaderType::TransparentShader);
    // The transparency switch sets the opacity by location.
    auto opacity = [&transparent] { return uniformValue<float>(transparent, 0); };
    EXPECT_FLOAT_EQ(opacity(), 0.0f);
    common::camera::CameraPersp camera;
    const common::scene::Light light(glm::vec3(0.0f, 0.0f, 2000.0f), glm::vec3(0.0f));

    registry->updateCommonUniforms(camera, light, glm::mat4(1.0f));
    EXPECT_FLOAT_EQ(opacity(), 0.3f);

    // The transparency switch turns it off; later frames must not undo that.
    transparent.bind();
    glUniform1f(0, 1.0f);
    GlslProg::unbind();
    registry->updateCommonUniforms(camera, light, glm::mat4(1.0f));
    registry->updateCommonUniforms(camera, light, glm::mat4(1.0f));
    EXPECT_FLOAT_EQ(opacity(), 1.0f);
    EXPECT_EQ(gltest::glError(), static_cast<GLenum>(GL_NO_ERROR));
}
