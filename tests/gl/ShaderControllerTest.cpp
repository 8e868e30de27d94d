#include "gl/ShaderController.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/CameraPersp.h"
#include "gl/GlslProg.h"
#include "scene/Light.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using common::gl::GlslProg;
using common::gl::ShaderController;
using common::gl::ShaderType;

namespace {

// In load order.
const std::vector<ShaderType> kLoadOrder = {
    ShaderType::ColorShader,       ShaderType::ColorShaderRed,
    ShaderType::LightShader,       ShaderType::TextureShader,
    ShaderType::ShadowDepthShader, ShaderType::ShadowShader,
    ShaderType::BlurShader,        ShaderType::TransparentShader,
    ShaderType::QuadShader,        ShaderType::ShowVelocityMapShader,
    ShaderType::ArrowShader,
};

std::string loadLines(const std::vector<ShaderType>& types) {
    std::string lines = "Debug: ShaderController created\n";
    for (ShaderType type : types) {
        lines += "Shader loaded\nDebug: Loaded shader of typ " + ShaderController::typeName(type) + "\n";
    }
    return lines;
}

GLint uniformLocation(const GlslProg& program, const char* name) {
    return glGetUniformLocation(program.handle, name);
}

std::vector<float> uniformFloats(const GlslProg& program, const char* name, std::size_t count) {
    std::vector<float> values(count, -99.0f);
    glGetUniformfv(program.handle, uniformLocation(program, name), values.data());
    return values;
}

std::vector<float> floatsOf(const glm::mat4& m) {
    const float* p = &m[0][0];
    return std::vector<float>(p, p + 16);
}

GLenum uniformType(const GlslProg& program, const char* wanted) {
    GLint count = 0;
    glGetProgramiv(program.handle, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[128];
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program.handle, static_cast<GLuint>(i), sizeof name, nullptr, &size, &type, name);
        if (std::string(name) == wanted) {
            return type;
        }
    }
    return 0;
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
    EXPECT_EQ(output, loadLines(kLoadOrder));
    for (ShaderType type : kLoadOrder) {
        GlslProg* program = registry->getShader(type);
        ASSERT_NE(program, nullptr) << ShaderController::typeName(type);
        GLint linked = GL_FALSE;
        glGetProgramiv(program->handle, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << ShaderController::typeName(type);
    }
}

TEST_F(ShaderControllerTest, TheProcessWideRegistryIsBuiltOnce) {
    testsupport::beginStdoutCapture();
    ShaderController& first = ShaderController::instance();
    ShaderController& second = ShaderController::instance();
    testsupport::endStdoutCapture();
    EXPECT_EQ(&first, &second);
    EXPECT_NE(first.getShader(ShaderType::QuadShader), nullptr);
}

TEST_F(ShaderControllerTest, AProgramThatCannotBeReadIsLeftOutAndTheRestLoad) {
    testsupport::TempDir root;
    std::filesystem::create_directories(root.path() / "bin");
    std::filesystem::create_directories(root.path() / "resources");
    std::filesystem::copy("../resources/shaders", root.path() / "resources" / "shaders",
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(root.path() / "resources/shaders/lightShader/SimpleLightFragmentShader.frag");
    testsupport::ScopedCwd cwd(root.path() / "bin");

    auto registry = fresh();
    std::vector<ShaderType> loaded = kLoadOrder;
    loaded.erase(loaded.begin() + 2);
    std::string expected = loadLines({ShaderType::ColorShader, ShaderType::ColorShaderRed});
    expected +=
        "VERTEX: Impossible to open ../resources/shaders/lightShader/SimpleLightFragmentShader.frag. Are you "
        "in the "
        "right directory ? Don't forget to read the FAQ !\n";
    expected += loadLines({loaded.begin() + 2, loaded.end()})
                    .substr(std::string("Debug: ShaderController created\n").size());
    EXPECT_EQ(output, expected);
    EXPECT_EQ(registry->getShader(ShaderType::LightShader), nullptr);
    for (ShaderType type : loaded) {
        EXPECT_NE(registry->getShader(type), nullptr) << ShaderController::typeName(type);
    }
}

TEST_F(ShaderControllerTest, TypeNames) {
    EXPECT_EQ(ShaderController::typeName(ShaderType::ColorShaderRed), "ColorShaderRed");
    EXPECT_EQ(ShaderController::typeName(ShaderType::ShadowDepthShader), "ShadowDepthShader");
    EXPECT_EQ(ShaderController::typeName(ShaderType::ShowVelocityMapShader), "ShowVelocityMapShader");
    EXPECT_EQ(ShaderController::typeName(ShaderType::ArrowShader), "ArrowShader");
    EXPECT_EQ(ShaderController::typeName(static_cast<ShaderType>(8)), "Unknown Typ");
    EXPECT_EQ(ShaderController::typeName(static_cast<ShaderType>(12)), "Unknown Typ");
    EXPECT_EQ(ShaderController::typeName(static_cast<ShaderType>(-1)), "Unknown Typ");
}

TEST_F(ShaderControllerTest, TypesWithoutAProgramGiveNull) {
    auto registry = fresh();
    EXPECT_EQ(registry->getShader(static_cast<ShaderType>(8)), nullptr);
    EXPECT_EQ(registry->getShader(static_cast<ShaderType>(12)), nullptr);
}

// --- what the GLSL files promise the rest of the game ---

TEST_F(ShaderControllerTest, EveryProgramTakesTheUniformsTheGameSets) {
    auto registry = fresh();
    const std::vector<const char*> frame = {"projectionMatrix", "viewMatrix", "prevVPMatrix", "modelMatrix",
                                            "prevModelMatrix"};
    std::map<ShaderType, std::vector<const char*>> required = {
        {ShaderType::ColorShader, {"invertedTransposedModelViewMatrix"}},
        {ShaderType::ColorShaderRed, {}},
        {ShaderType::LightShader,
         {"invertedTransposedModelViewMatrix", "LightPosition_worldspace", "myTextureSampler"}},
        {ShaderType::TextureShader, {"myTextureSampler"}},
        {ShaderType::ShadowShader,
         {"invertedTransposedModelViewMatrix", "LightPosition_worldspace", "myTextureSampler", "ShadowCoord1",
          "ShadowCoord2", "ShadowCoord3", "shadowMap1", "shadowMap2", "shadowMap3", "far_d", "showFrustums"}},
        {ShaderType::TransparentShader, {}},
    };
    for (auto& [type, names] : required) {
        names.insert(names.end(), frame.begin(), frame.end());
    }
    required[ShaderType::ShadowDepthShader] = {"projectionMatrix", "viewMatrix", "modelMatrix"};
    required[ShaderType::BlurShader] = {"colorTexture", "velocityTexture", "depthTexture", "blurOn",
                                        "velocityScale"};
    required[ShaderType::QuadShader] = {"myTextureSampler"};
    required[ShaderType::ShowVelocityMapShader] = {"velocityTexture"};
    required[ShaderType::ArrowShader] = {"rotate", "myTextureSampler"};

    for (const auto& [type, names] : required) {
        const GlslProg& program = *registry->getShader(type);
        for (const char* name : names) {
            EXPECT_NE(uniformLocation(program, name), -1) << ShaderController::typeName(type) << " " << name;
        }
    }
    const GlslProg& shadow = *registry->getShader(ShaderType::ShadowShader);
    EXPECT_EQ(uniformType(shadow, "far_d"), static_cast<GLenum>(GL_FLOAT_VEC4));
    EXPECT_EQ(uniformType(shadow, "shadowMap2"), static_cast<GLenum>(GL_SAMPLER_2D_SHADOW));
    EXPECT_EQ(uniformType(shadow, "showFrustums"), static_cast<GLenum>(GL_INT));
    EXPECT_EQ(uniformType(*registry->getShader(ShaderType::BlurShader), "velocityScale"),
              static_cast<GLenum>(GL_FLOAT));
}

TEST_F(ShaderControllerTest, TheTransparentOpacityIsTheFloatAtLocationZero) {
    auto registry = fresh();
    const GlslProg& transparent = *registry->getShader(ShaderType::TransparentShader);
    EXPECT_EQ(uniformLocation(transparent, "opacity"), 0);
    EXPECT_EQ(uniformType(transparent, "opacity"), static_cast<GLenum>(GL_FLOAT));
}

TEST_F(ShaderControllerTest, AttributesSitAtTheMeshLocationsAndTheQuadUsesAllThree) {
    auto registry = fresh();
    const std::map<std::string, GLint> locations = {{"position", 0}, {"uv", 1}, {"normal", 2}};
    for (ShaderType type : kLoadOrder) {
        const GlslProg& program = *registry->getShader(type);
        for (const auto& [name, location] : locations) {
            const GLint found = glGetAttribLocation(program.handle, name.c_str());
            if (found != -1) {
                EXPECT_EQ(found, location) << ShaderController::typeName(type) << " " << name;
            }
        }
    }
    // The quads' vertex arrays are set up with the quad program's locations, so all three must be active.
    const GlslProg& quad = *registry->getShader(ShaderType::QuadShader);
    for (const auto& [name, location] : locations) {
        EXPECT_EQ(glGetAttribLocation(quad.handle, name.c_str()), location) << name;
    }
    for (ShaderType type :
         {ShaderType::BlurShader, ShaderType::ShowVelocityMapShader, ShaderType::ArrowShader}) {
        const GlslProg& program = *registry->getShader(type);
        EXPECT_EQ(glGetAttribLocation(program.handle, "position"), 0) << ShaderController::typeName(type);
        EXPECT_EQ(glGetAttribLocation(program.handle, "uv"), 1) << ShaderController::typeName(type);
    }
}

TEST_F(ShaderControllerTest, SamplersStartOnTheirUnitsWhereTheDriverAllows) {
    if (!GLEW_ARB_shading_language_420pack) {
        GTEST_SKIP() << "no GL_ARB_shading_language_420pack";
    }
    auto registry = fresh();
    auto unitOf = [](const GlslProg& program, const char* name) {
        GLint unit = -1;
        glGetUniformiv(program.handle, glGetUniformLocation(program.handle, name), &unit);
        return unit;
    };
    const GlslProg& shadow = *registry->getShader(ShaderType::ShadowShader);
    EXPECT_EQ(unitOf(shadow, "myTextureSampler"), 0);
    EXPECT_EQ(unitOf(shadow, "shadowMap1"), 1);
    EXPECT_EQ(unitOf(shadow, "shadowMap2"), 2);
    EXPECT_EQ(unitOf(shadow, "shadowMap3"), 3);
    const GlslProg& blur = *registry->getShader(ShaderType::BlurShader);
    EXPECT_EQ(unitOf(blur, "colorTexture"), 0);
    EXPECT_EQ(unitOf(blur, "velocityTexture"), 1);
    EXPECT_EQ(unitOf(blur, "depthTexture"), 2);
}

// --- the per-frame update ---

TEST_F(ShaderControllerTest, TheFrameUpdateGivesEveryProgramTheCameraAndTheDepthProgramTheLight) {
    auto registry = fresh();
    common::camera::CameraPersp camera;
    camera.lookAt(glm::vec3(5.0f, 30.0f, 80.0f), glm::vec3(0.0f, 10.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setPerspective(45.0f, 1.5f, 1.0f, 1000.0f);
    const common::scene::Light light(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.2f));
    const glm::mat4 previous = glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, -2.0f, 3.0f));
    ASSERT_NE(floatsOf(light.camera.viewMatrix), floatsOf(camera.viewMatrix));

    registry->updateCommonUniforms(camera, light, previous);

    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    for (ShaderType type : kLoadOrder) {
        const GlslProg& program = *registry->getShader(type);
        const std::string name = ShaderController::typeName(type);
        if (uniformLocation(program, "projectionMatrix") != -1) {
            EXPECT_EQ(uniformFloats(program, "projectionMatrix", 16), floatsOf(camera.projectionMatrix))
                << name;
        }
        if (uniformLocation(program, "prevVPMatrix") != -1) {
            EXPECT_EQ(uniformFloats(program, "prevVPMatrix", 16), floatsOf(previous)) << name;
        }
        if (type != ShaderType::ShadowDepthShader && uniformLocation(program, "viewMatrix") != -1) {
            EXPECT_EQ(uniformFloats(program, "viewMatrix", 16), floatsOf(camera.viewMatrix)) << name;
        }
    }
    const GlslProg& depth = *registry->getShader(ShaderType::ShadowDepthShader);
    EXPECT_EQ(uniformFloats(depth, "viewMatrix", 16), floatsOf(light.camera.viewMatrix));
    for (ShaderType type : {ShaderType::LightShader, ShaderType::ShadowShader}) {
        EXPECT_EQ(uniformFloats(*registry->getShader(type), "LightPosition_worldspace", 3),
                  (std::vector<float>{10.0f, 50.0f, 0.0f}))
            << ShaderController::typeName(type);
    }
}

TEST_F(ShaderControllerTest, TheStartingOpacityIsWrittenOnTheFirstUpdateOnly) {
    auto registry = fresh();
    const GlslProg& transparent = *registry->getShader(ShaderType::TransparentShader);
    auto opacity = [&transparent] {
        float value = -1.0f;
        glGetUniformfv(transparent.handle, 0, &value);
        return value;
    };
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
    EXPECT_TRUE(gltest::glErrors().empty());
}
