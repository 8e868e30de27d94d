#include "gl/GlslProg.h"

#include <GL/glew.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gl/GlslProgCompileExc.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using common::gl::GlslProg;
using common::gl::GlslProgCompileExc;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testsupport::TempDir;

namespace {

const char* const kVertex =
    "#version 330 core\n"
    "layout(location = 0) in vec3 position;\n"
    "uniform mat4 modelMatrix;\n"
    "void main() { gl_Position = modelMatrix * vec4(position, 1.0); }\n";

const char* const kFragment =
    "#version 330 core\n"
    "uniform vec3 tint;\n"
    "uniform vec2 offset;\n"
    "uniform float gain;\n"
    "uniform int mode;\n"
    "out vec4 color;\n"
    "void main() { color = vec4(tint * gain + vec3(offset, float(mode)), 1.0); }\n";

class GlslProgTest : public testsupport::GlTest {
  protected:
    std::string write(const std::string& name, const std::string& text) {
        return dir.write(name, text).string();
    }

    // Builds a program and swallows its "Shader loaded" line.
    std::unique_ptr<GlslProg> build(const std::string& vertex, const std::string& fragment) {
        const std::string vertexPath = write("p.vert", vertex);
        const std::string fragmentPath = write("p.frag", fragment);
        testsupport::beginStdoutCapture();
        try {
            auto program = std::make_unique<GlslProg>(vertexPath.c_str(), fragmentPath.c_str());
            testsupport::endStdoutCapture();
            return program;
        } catch (...) {
            testsupport::endStdoutCapture();
            throw;
        }
    }

    // The driver's own log for a fragment source, compiled outside GlslProg.
    static std::string driverLog(const std::string& source) {
        const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
        const char* text = source.c_str();
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::string log(static_cast<std::size_t>(length), '\0');
        glGetShaderInfoLog(shader, length, nullptr, log.data());
        glDeleteShader(shader);
        log.resize(std::strlen(log.c_str()));
        return log;
    }

    TempDir dir;
};

int gCreateShaderCalls = 0;
GLuint GLAPIENTRY countingCreateShader(GLenum) {
    ++gCreateShaderCalls;
    return 0;
}

int gUniformLookups = 0;
PFNGLGETUNIFORMLOCATIONPROC gRealGetUniformLocation = nullptr;
GLint GLAPIENTRY countingGetUniformLocation(GLuint program, const GLchar* name) {
    ++gUniformLookups;
    return gRealGetUniformLocation(program, name);
}

GLuint GLAPIENTRY failingCreateShader(GLenum) {
    return 0;
}

}  // namespace

// --- building a program ---

TEST_F(GlslProgTest, AGoodPairLinksAndSaysShaderLoaded) {
    const std::string vertexPath = write("good.vert", kVertex);
    const std::string fragmentPath = write("good.frag", kFragment);
    testsupport::beginStdoutCapture();
    GlslProg program(vertexPath.c_str(), fragmentPath.c_str());
    EXPECT_EQ(testsupport::endStdoutCapture(), "Shader loaded\n");

    GLint linked = GL_FALSE;
    glGetProgramiv(program.handle, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    GLuint attached[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program.handle, 4, &count, attached);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(attached[0] + attached[1], program.vertexShader + program.fragmentShader);
    GLint stage = 0;
    glGetShaderiv(program.vertexShader, GL_SHADER_TYPE, &stage);
    EXPECT_EQ(stage, GL_VERTEX_SHADER);
    glGetShaderiv(program.fragmentShader, GL_SHADER_TYPE, &stage);
    EXPECT_EQ(stage, GL_FRAGMENT_SHADER);

    program.bind();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program.handle);
    GlslProg::unbind();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(GlslProgTest, DestroyingAProgramReleasesItsGlObjects) {
    auto program = build(kVertex, kFragment);
    const GLuint handle = program->handle;
    program.reset();
    EXPECT_EQ(glIsProgram(handle), GL_FALSE);
}

TEST_F(GlslProgTest, AMissingFragmentFileIsReportedAsVertexBeforeAnythingCompiles) {
    const std::string vertexPath = write("only.vert", kVertex);
    const std::string fragmentPath = (dir.path() / "missing.frag").string();
    gCreateShaderCalls = 0;
    gltest::GlHook<PFNGLCREATESHADERPROC> hook(__glewCreateShader, countingCreateShader);
    testsupport::beginStdoutCapture();
    try {
        GlslProg program(vertexPath.c_str(), fragmentPath.c_str());
        ADD_FAILURE() << "no exception";
    } catch (const GlslProgCompileExc& failure) {
        EXPECT_STREQ(failure.what(), ("VERTEX: Impossible to open " + fragmentPath +
                                      ". Are you in the right directory ? Don't forget to read the FAQ !\n")
                                         .c_str());
        EXPECT_EQ(failure.shaderType, static_cast<std::uint32_t>(GL_VERTEX_SHADER));
    }
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
    EXPECT_EQ(gCreateShaderCalls, 0);
}

TEST_F(GlslProgTest, AFragmentCompileErrorCarriesTheLabelAndTheDriverLog) {
    const std::string broken =
        "#version 330 core\nout vec4 color;\nvoid main() { color = undefinedThing; }\n";
    try {
        build(kVertex, broken);
        FAIL() << "no exception";
    } catch (const GlslProgCompileExc& failure) {
        // The source is compiled as read: a line feed in front of every line, none after the last.
        const std::string log =
            driverLog("\n#version 330 core\nout vec4 color;\nvoid main() { color = undefinedThing; }");
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(std::string(failure.what()), "FRAGMENT: " + log);
        EXPECT_EQ(failure.shaderType, static_cast<std::uint32_t>(GL_FRAGMENT_SHADER));
    }
}

TEST_F(GlslProgTest, ADriverLogLongerThan15000CharactersIsCut) {
    std::string broken = "#version 330 core\nout vec4 color;\nvoid main() {\n";
    for (int i = 0; i < 3000; ++i) {
        broken += "color = undeclaredValue" + std::to_string(i) + ";\n";
    }
    broken += "}\n";
    std::string expectedSource = "\n" + broken;
    expectedSource.pop_back();
    const std::string log = driverLog(expectedSource);
    ASSERT_GT(log.size(), 15000u);
    try {
        build(kVertex, broken);
        FAIL() << "no exception";
    } catch (const GlslProgCompileExc& failure) {
        EXPECT_EQ(std::strlen(failure.what()), std::strlen("FRAGMENT: ") + 15000);
        EXPECT_EQ(std::string(failure.what()), "FRAGMENT: " + log.substr(0, 15000));
    }
}

TEST_F(GlslProgTest, AProgramThatDoesNotLinkIsReportedInsteadOfLoaded) {
    const std::string vertex =
        "#version 330 core\nout vec3 shade;\nvoid main() { shade = vec3(1.0); gl_Position = vec4(0.0); }\n";
    const std::string fragment =
        "#version 330 core\nin vec2 shade;\nout vec4 color;\nvoid main() { color = vec4(shade, 0.0, 1.0); "
        "}\n";
    testsupport::beginStdoutCapture();
    try {
        GlslProg program(write("a.vert", vertex).c_str(), write("a.frag", fragment).c_str());
        ADD_FAILURE() << "no exception";
    } catch (const GlslProgCompileExc& failure) {
        EXPECT_THAT(failure.what(), StartsWith("UNKNOWN: "));
        EXPECT_GT(std::strlen(failure.what()), std::strlen("UNKNOWN: "));
        EXPECT_EQ(failure.shaderType, 0u);
    }
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
}

TEST_F(GlslProgTest, StageLabels) {
    EXPECT_STREQ(GlslProgCompileExc(GL_GEOMETRY_SHADER, "x").what(), "GEOMETRY: x");
    EXPECT_STREQ(GlslProgCompileExc(GL_COMPUTE_SHADER, "").what(), "UNKNOWN: ");
    // Copies keep the whole message and the stage.
    const GlslProgCompileExc original(GL_FRAGMENT_SHADER, "log text");
    const GlslProgCompileExc copy = original;
    EXPECT_STREQ(copy.what(), "FRAGMENT: log text");
    EXPECT_EQ(copy.shaderType, static_cast<std::uint32_t>(GL_FRAGMENT_SHADER));
}

TEST_F(GlslProgTest, NoShaderObjectEndsTheProcessWithStatusMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string vertexPath = write("v.vert", kVertex);
    const std::string fragmentPath = write("f.frag", kFragment);
    EXPECT_EXIT(
        {
            gltest::GlHook<PFNGLCREATESHADERPROC> hook(__glewCreateShader, failingCreateShader);
            GlslProg program(vertexPath.c_str(), fragmentPath.c_str());
        },
        ::testing::ExitedWithCode(255), "");
}

// --- reading sources ---

TEST_F(GlslProgTest, SourcesAreReadWithALineFeedBeforeEveryLine) {
    EXPECT_EQ(GlslProg::readSource(write("empty.glsl", "").c_str()), "");
    EXPECT_EQ(GlslProg::readSource(write("one.glsl", "single line").c_str()), "\nsingle line");
    EXPECT_EQ(GlslProg::readSource(write("two.glsl", "first\nsecond\n").c_str()), "\nfirst\nsecond");
    EXPECT_EQ(GlslProg::readSource(write("blank.glsl", "a\n\nb").c_str()), "\na\n\nb");
}

TEST_F(GlslProgTest, AFinalLineWithoutLineFeedStillCompiles) {
    std::string fragment = kFragment;
    fragment.pop_back();  // "...}" without its line feed
    EXPECT_NO_THROW(build(kVertex, fragment));
}

// --- uniforms ---

TEST_F(GlslProgTest, UniformLocationsAreAskedOnceAndAMissingNameIsCachedAsMinusOne) {
    auto program = build(kVertex, kFragment);
    gUniformLookups = 0;
    gRealGetUniformLocation = __glewGetUniformLocation;
    gltest::GlHook<PFNGLGETUNIFORMLOCATIONPROC> hook(__glewGetUniformLocation, countingGetUniformLocation);

    program->bind();
    EXPECT_EQ(program->getUniformLocation("noSuchUniform"), -1);
    EXPECT_EQ(program->getUniformLocation("noSuchUniform"), -1);
    program->setUniform("noSuchUniform", 1.5f);
    EXPECT_EQ(gUniformLookups, 1);

    const GLint gain = program->getUniformLocation("gain");
    EXPECT_GE(gain, 0);
    program->setUniform("gain", 2.0f);
    program->setUniform("gain", 3.0f);
    EXPECT_EQ(gUniformLookups, 2);
    EXPECT_TRUE(gltest::glErrors().empty());
    GlslProg::unbind();
}

TEST_F(GlslProgTest, EachSetterWritesItsUniform) {
    auto program = build(kVertex, kFragment);
    program->bind();
    glm::mat4 model(1.0f);
    model[3] = glm::vec4(4.0f, 5.0f, 6.0f, 1.0f);
    program->setUniform("modelMatrix", model);
    program->setUniform("tint", glm::vec3(0.25f, 0.5f, 0.75f));
    program->setUniform("offset", glm::vec2(-1.0f, 2.0f));
    program->setUniform("gain", 1.25f);
    program->setUniform("mode", 7);

    float values[16] = {};
    glGetUniformfv(program->handle, program->getUniformLocation("modelMatrix"), values);
    EXPECT_FLOAT_EQ(values[12], 4.0f);
    EXPECT_FLOAT_EQ(values[14], 6.0f);
    EXPECT_FLOAT_EQ(values[3], 0.0f);
    program->setUniform("modelMatrix", model, true);
    glGetUniformfv(program->handle, program->getUniformLocation("modelMatrix"), values);
    EXPECT_FLOAT_EQ(values[3], 4.0f);
    glGetUniformfv(program->handle, program->getUniformLocation("tint"), values);
    EXPECT_FLOAT_EQ(values[0], 0.25f);
    EXPECT_FLOAT_EQ(values[2], 0.75f);
    glGetUniformfv(program->handle, program->getUniformLocation("offset"), values);
    EXPECT_FLOAT_EQ(values[0], -1.0f);
    EXPECT_FLOAT_EQ(values[1], 2.0f);
    glGetUniformfv(program->handle, program->getUniformLocation("gain"), values);
    EXPECT_FLOAT_EQ(values[0], 1.25f);
    GLint mode = 0;
    glGetUniformiv(program->handle, program->getUniformLocation("mode"), &mode);
    EXPECT_EQ(mode, 7);
    EXPECT_TRUE(gltest::glErrors().empty());
    GlslProg::unbind();
}
