#include "gl/GlslProg.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "gl/GlslProgCompileExc.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
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

GLuint GLAPIENTRY failingCreateShader(GLenum) {
    return 0;
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
        testsupport::beginStdoutCapture();
        try {
            program = std::make_unique<GlslProg>(vertexPath.c_str(), fragmentPath.c_str());
        } catch (const GlslProgCompileExc& error) {
            failure = std::make_unique<GlslProgCompileExc>(error);
        }
        output = testsupport::endStdoutCapture();
        return program;
    }

    std::unique_ptr<GlslProg> build(const std::string& fragment, const std::string& vertex = kVertex) {
        return load(write("p.vert", vertex), write("p.frag", fragment));
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
        return log.c_str();
    }

    testsupport::TempDir dir;
    std::string output;
    std::unique_ptr<GlslProgCompileExc> failure;
};

}  // namespace

// --- building and failing to build ---

TEST_F(GlslProgTest, AGoodPairLinksSaysShaderLoadedAndIsReleased) {
    auto program = build(kFragment);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(output, "Shader loaded\n");
    GLint linked = GL_FALSE;
    glGetProgramiv(program->handle, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    program->bind();
    EXPECT_EQ(static_cast<GLuint>(gltest::integer(GL_CURRENT_PROGRAM)), program->handle);
    GlslProg::unbind();
    EXPECT_EQ(gltest::integer(GL_CURRENT_PROGRAM), 0);

    const GLuint handle = program->handle;
    program.reset();
    EXPECT_EQ(glIsProgram(handle), GL_FALSE);
}

// Failures print nothing: the caller reports them.
TEST_F(GlslProgTest, AMissingFileIsReportedAsTheVertexStage) {
    const std::string missing = (dir.path() / "missing.frag").string();
    EXPECT_EQ(load(write("p.vert", kVertex), missing), nullptr);
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(std::string(failure->what()),
              "VERTEX: Impossible to open " + missing +
                  ". Are you in the right directory ? Don't forget to read the FAQ !\n");
    EXPECT_EQ(failure->shaderType, static_cast<std::uint32_t>(GL_VERTEX_SHADER));
    EXPECT_EQ(output, "");
}

// The whole driver log follows the label, cut at 15000 characters (the long case logs far more).
TEST_F(GlslProgTest, ACompileErrorCarriesTheLabelAndTheDriverLogUpTo15000Characters) {
    for (int errors : {1, 3000}) {
        SCOPED_TRACE(errors);
        std::string broken = "#version 330 core\nout vec4 color;\nvoid main() {\n";
        for (int i = 0; i < errors; ++i) {
            broken += "color = undeclared" + std::to_string(i) + ";\n";
        }
        broken += "}\n";
        // The source is compiled as read: a line feed in front of every line, none after the last.
        const std::string log = driverLog("\n" + broken.substr(0, broken.size() - 1));
        ASSERT_EQ(log.size() > 15000, errors > 1);
        EXPECT_EQ(build(broken), nullptr);
        ASSERT_NE(failure, nullptr);
        EXPECT_EQ(std::string(failure->what()), "FRAGMENT: " + log.substr(0, 15000));
        EXPECT_EQ(failure->shaderType, static_cast<std::uint32_t>(GL_FRAGMENT_SHADER));
        EXPECT_EQ(output, "");
    }
}

// The stages disagree on the type of "shade".
TEST_F(GlslProgTest, AProgramThatDoesNotLinkIsReportedInsteadOfLoaded) {
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
}

TEST_F(GlslProgTest, StageLabels) {
    EXPECT_STREQ(GlslProgCompileExc(GL_GEOMETRY_SHADER, "x").what(), "GEOMETRY: x");
    EXPECT_STREQ(GlslProgCompileExc(GL_COMPUTE_SHADER, "").what(), "UNKNOWN: ");
    EXPECT_STREQ(GlslProgCompileExc(GL_VERTEX_SHADER, nullptr).what(), "VERTEX: ");
}

TEST_F(GlslProgTest, NoShaderObjectEndsTheProcessWithStatusMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string vertexPath = write("p.vert", kVertex);
    const std::string fragmentPath = write("p.frag", kFragment);
    EXPECT_EXIT(
        {
            gltest::GlHook<PFNGLCREATESHADERPROC> hook(__glewCreateShader, failingCreateShader);
            GlslProg program(vertexPath.c_str(), fragmentPath.c_str());
        },
        ::testing::ExitedWithCode(255), "");
}

TEST_F(GlslProgTest, SourcesAreReadWithALineFeedBeforeEveryLine) {
    EXPECT_EQ(GlslProg::readSource(write("empty.glsl", "").c_str()), "");
    EXPECT_EQ(GlslProg::readSource(write("one.glsl", "single line").c_str()), "\nsingle line");
    EXPECT_EQ(GlslProg::readSource(write("two.glsl", "first\nsecond\n").c_str()), "\nfirst\nsecond");
    EXPECT_EQ(GlslProg::readSource(write("blank.glsl", "a\n\nb").c_str()), "\na\n\nb");
}

// --- uniforms ---

TEST_F(GlslProgTest, UniformLocationsAreAskedOnceAndAMissingNameIsCachedAsMinusOne) {
    auto program = build(kFragment);
    gUniformLookups = 0;
    gRealGetUniformLocation = __glewGetUniformLocation;
    gltest::GlHook<PFNGLGETUNIFORMLOCATIONPROC> hook(__glewGetUniformLocation, countingGetUniformLocation);
    program->bind();
    EXPECT_EQ(program->getUniformLocation("noSuchUniform"), -1);
    program->setUniform("noSuchUniform", 1.5f);
    EXPECT_EQ(gUniformLookups, 1);
    EXPECT_GE(program->getUniformLocation("gain"), 0);
    program->setUniform("gain", 2.0f);
    EXPECT_EQ(gUniformLookups, 2);
    EXPECT_EQ(gltest::glError(), static_cast<GLenum>(GL_NO_ERROR));
    GlslProg::unbind();
}
