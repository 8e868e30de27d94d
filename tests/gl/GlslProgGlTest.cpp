// GLSL programs: building one from files and its failures, its uniforms, and the registry of the game's
// eleven programs with what they promise the rest of the game.
#include "gl/GlslProg.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/CameraPersp.h"
#include "gl/GlslProgCompileExc.h"
#include "gl/ShaderController.h"
#include "scene/Light.h"
#include "tests/support/GlContext.h"
#include "tests/support/GlQueries.h"
#include "tests/support/TestFiles.h"

using namespace common::gl;

namespace {

const char* const kVertex = "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n";

const char* const kFragment =
    "#version 330 core\nuniform float gain;\nout vec4 color;\nvoid main() { color = vec4(gain); }\n";

int gUniformLookups = 0;
PFNGLGETUNIFORMLOCATIONPROC gRealGetUniformLocation = nullptr;
GLint GLAPIENTRY countingGetUniformLocation(GLuint program, const GLchar* name) {
    ++gUniformLookups;
    return gRealGetUniformLocation(program, name);
}

class GlslProgTest : public testsupport::GlTest {
  protected:
    std::string write(const std::string& name, const std::string& text) {
        return dir.write(name, text).string();
    }

    // Builds a program from files; what it prints goes to `output`, what it throws to `failure`.
    std::unique_ptr<GlslProg> load(const std::string& vertexPath, const std::string& fragmentPath) {
        std::unique_ptr<GlslProg> program;
        failure.reset();
        output = testsupport::capturedStdout([&] {
            try {
                program = std::make_unique<GlslProg>(vertexPath.c_str(), fragmentPath.c_str());
            } catch (const GlslProgCompileExc& error) {
                failure = std::make_unique<GlslProgCompileExc>(error);
            }
        });
        return program;
    }

    std::unique_ptr<GlslProg> build(const std::string& fragment, const std::string& vertex = kVertex) {
        return load(write("p.vert", vertex), write("p.frag", fragment));
    }

    testsupport::TempDir dir;
    std::string output;
    std::unique_ptr<GlslProgCompileExc> failure;
};

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
        std::unique_ptr<ShaderController> registry;
        // The game's debug log prints on standard output in the same shape, between the programs' own lines.
        const auto debugLog = [](const std::string& line) { std::printf("Debug: %s\n", line.c_str()); };
        output =
            testsupport::capturedStdout([&] { registry = std::make_unique<ShaderController>(debugLog); });
        return registry;
    }
    std::string output;
};

}  // namespace

// --- building and failing to build ---

// Uniform locations are asked once; a missing name is cached as -1. Sources are read with a line feed
// before every line. Without a shader object the pair cannot be built at all.
TEST_F(GlslProgTest, AGoodPairLinksAsksEachUniformLocationOnceAndIsReleasedButNeedsShaderObjects) {
    auto program = build(kFragment);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(output, "Shader loaded\n");
    program->bind();
    EXPECT_EQ(static_cast<GLuint>(testsupport::integer(GL_CURRENT_PROGRAM)), program->handle);

    gUniformLookups = 0;
    gRealGetUniformLocation = __glewGetUniformLocation;
    __glewGetUniformLocation = countingGetUniformLocation;
    EXPECT_EQ(program->getUniformLocation("noSuchUniform"), -1);
    program->setUniform("noSuchUniform", 1.5f);
    EXPECT_EQ(gUniformLookups, 1);
    EXPECT_GE(program->getUniformLocation("gain"), 0);
    program->setUniform("gain", 2.0f);
    EXPECT_EQ(gUniformLookups, 2);
    __glewGetUniformLocation = gRealGetUniformLocation;
    EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));

    GlslProg::unbind();
    EXPECT_EQ(testsupport::integer(GL_CURRENT_PROGRAM), 0);
    const GLuint handle = program->handle;
    program.reset();
    EXPECT_EQ(glIsProgram(handle), GL_FALSE);

    EXPECT_EQ(GlslProg::readSource(write("empty.glsl", "").c_str()), "");
    EXPECT_EQ(GlslProg::readSource(write("one.glsl", "single line").c_str()), "\nsingle line");
    EXPECT_EQ(GlslProg::readSource(write("two.glsl", "first\nsecond\n").c_str()), "\nfirst\nsecond");
    EXPECT_EQ(GlslProg::readSource(write("blank.glsl", "a\n\nb").c_str()), "\na\n\nb");

    // No shader object ends the process with status -1.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            __glewCreateShader = [](GLenum) -> GLuint { return 0; };
            GlslProg failing((dir.path() / "p.vert").c_str(), (dir.path() / "p.frag").c_str());
        },
        ::testing::ExitedWithCode(255), "");
}

// Failures print nothing (the caller reports them) and throw the stage's label before the text: a file
// that cannot be read counts as the vertex stage, a link failure has none.
TEST_F(GlslProgTest, FailuresThrowTheStageLabelAndTheDriverLogUpTo15000CharactersAndPrintNothing) {
    const std::string missing = (dir.path() / "missing.frag").string();
    EXPECT_EQ(load(write("p.vert", kVertex), missing), nullptr);
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(std::string(failure->what()),
              "VERTEX: Impossible to open " + missing +
                  ". Are you in the right directory ? Don't forget to read the FAQ !\n");
    EXPECT_EQ(failure->shaderType, static_cast<std::uint32_t>(GL_VERTEX_SHADER));
    EXPECT_EQ(output, "");

    // The stages disagree on the type of "shade".
    EXPECT_EQ(
        build(
            "#version 330 core\nin vec2 shade;\nout vec4 c;\nvoid main() { c = vec4(shade, 0, 1); }\n",
            "#version 330 core\nout vec3 shade;\nvoid main() { shade = vec3(1); gl_Position = vec4(0); }\n"),
        nullptr);
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(std::string(failure->what()).rfind("UNKNOWN: ", 0), 0u) << failure->what();
    EXPECT_GT(std::strlen(failure->what()), std::strlen("UNKNOWN: "));
    EXPECT_EQ(failure->shaderType, 0u);
    EXPECT_EQ(output, "");

    EXPECT_STREQ(GlslProgCompileExc(GL_VERTEX_SHADER, nullptr).what(), "VERTEX: ");

    // A compile error: the driver's log follows the label, cut at 15000 characters (3000 errors log far
    // more).
    for (int errors : {1, 3000}) {
        SCOPED_TRACE(errors);
        std::string broken = "#version 330 core\nout vec4 color;\nvoid main() {\n";
        for (int i = 0; i < errors; ++i) {
            broken += "color = undeclared" + std::to_string(i) + ";\n";
        }
        EXPECT_EQ(build(broken + "}\n"), nullptr);
        ASSERT_NE(failure, nullptr);
        const std::string what = failure->what();
        EXPECT_EQ(what.rfind("FRAGMENT: ", 0), 0u) << what;
        EXPECT_NE(what.find("undeclared0"), std::string::npos) << what;
        if (errors > 1) {
            EXPECT_EQ(what.size(), 10u + 15000u);
        }
        EXPECT_EQ(failure->shaderType, static_cast<std::uint32_t>(GL_FRAGMENT_SHADER));
        EXPECT_EQ(output, "");
    }
}

// --- loading ---

TEST_F(ShaderControllerTest, AllElevenProgramsLoadInOrderAndTakeTheUniformsAndAttributesTheGameSets) {
    auto registry = fresh();
    std::string expected = "Debug: ShaderController created\n";
    for (const auto& [type, name] : kPrograms) {
        expected += "Shader loaded\nDebug: Loaded shader of typ " + name + "\n";
        EXPECT_NE(registry->getShader(type), nullptr) << name;
    }
    EXPECT_EQ(output, expected);
    for (int noProgram : {8, 12, -1}) {
        EXPECT_EQ(registry->getShader(static_cast<ShaderType>(noProgram)), nullptr) << noProgram;
        EXPECT_EQ(ShaderController::typeName(static_cast<ShaderType>(noProgram)), "Unknown Typ");
    }

    ShaderController* shared = nullptr;
    testsupport::capturedStdout([&] { shared = &ShaderController::instance(); });
    EXPECT_EQ(&ShaderController::instance(), shared);

    // What the GLSL files promise the rest of the game: the uniforms the game sets, and the attributes
    // at the mesh locations (position 0, uv 1, normal 2). The quads' vertex arrays take the quad
    // program's locations, so all three must be active there.
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
    const char* const attributes[] = {"position", "uv", "normal"};
    for (const auto& [type, name] : kPrograms) {
        for (GLint location = 0; location < 3; ++location) {
            const GLint found = glGetAttribLocation(registry->getShader(type)->handle, attributes[location]);
            if (found != -1 || type == ShaderType::QuadShader) {
                EXPECT_EQ(found, location) << name << " " << attributes[location];
            }
        }
    }
}

// --- the per-frame update ---

// The starting opacity is written on the first update only: the transparency switch then sets it (by
// location), and later frames must not undo that.
TEST_F(ShaderControllerTest, TheFrameUpdateGivesEveryProgramTheCameraAndTheDepthProgramTheLight) {
    auto registry = fresh();
    const GlslProg& transparent = *registry->getShader(ShaderType::TransparentShader);
    auto opacity = [&transparent] { return uniformValue<float>(transparent, 0); };
    EXPECT_FLOAT_EQ(opacity(), 0.0f);
    common::camera::CameraPersp camera;
    camera.lookAt(glm::vec3(5.0f, 30.0f, 80.0f), glm::vec3(0.0f, 10.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setPerspective(45.0f, 1.5f, 1.0f, 1000.0f);
    const common::scene::Light light(glm::vec3(10.0f, 50.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.2f));
    const glm::mat4 previous = glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, -2.0f, 3.0f));

    registry->updateCommonUniforms(camera, light, previous);

    EXPECT_EQ(testsupport::integer(GL_CURRENT_PROGRAM), 0);
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
    EXPECT_FLOAT_EQ(opacity(), 0.3f);

    transparent.bind();
    glUniform1f(0, 1.0f);
    GlslProg::unbind();
    registry->updateCommonUniforms(camera, light, previous);
    EXPECT_FLOAT_EQ(opacity(), 1.0f);
    EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));
}
