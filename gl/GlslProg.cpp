#include "gl/GlslProg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <glm/gtc/type_ptr.hpp>

#include "gl/GlslProgCompileExc.h"

namespace common::gl {
namespace {

// Driver info logs are NUL-terminated; length is the size the driver reported, terminator included.
std::string readInfoLog(GLsizei length, PFNGLGETSHADERINFOLOGPROC fetch, GLuint object) {
    if (length < 1) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<std::size_t>(length), '\0');
    fetch(object, length, nullptr, buffer.data());
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

// The version line must stay the first thing the compiler sees; the defines follow it.
std::string withDefines(std::string source, const std::string& defines) {
    const std::size_t version = source.find("#version");
    const std::size_t lineEnd = version == std::string::npos ? std::string::npos : source.find('\n', version);
    if (defines.empty() || lineEnd == std::string::npos) {
        return source;
    }
    return source.insert(lineEnd + 1, defines);
}

}  // namespace

GlslProg::GlslProg(const char* vertexPath, const char* fragmentPath, const std::string& defines) {
    handle = glCreateProgram();
    // A half-built program is released here: the exception leaves nothing behind for anyone to free.
    try {
        const std::string vertexSource = withDefines(readSource(vertexPath), defines);
        const std::string fragmentSource = withDefines(readSource(fragmentPath), defines);
        vertexShader = compileStage(vertexSource, GL_VERTEX_SHADER);
        fragmentShader = compileStage(fragmentSource, GL_FRAGMENT_SHADER);
        link();
    } catch (...) {
        release();
        throw;
    }
    std::printf("Shader loaded\n");
}

GlslProg::~GlslProg() {
    release();
}

void GlslProg::release() {
    if (vertexShader != 0) {
        glDeleteShader(vertexShader);
        vertexShader = 0;
    }
    if (fragmentShader != 0) {
        glDeleteShader(fragmentShader);
        fragmentShader = 0;
    }
    if (handle != 0) {
        glDeleteProgram(handle);
        handle = 0;
    }
}

std::string GlslProg::readSource(const char* path) {
    std::ifstream file(path);
    if (!file.is_open()) {
        const char* format =
            "Impossible to open %s. Are you in the right directory ? Don't forget to read the FAQ !\n";
        std::vector<char> text(std::strlen(format) + std::strlen(path) + 1);
        std::snprintf(text.data(), text.size(), format, path);
        // Whichever file failed, the report is labelled as the vertex stage.
        throw GlslProgCompileExc(GL_VERTEX_SHADER, text.data());
    }
    std::string source;
    std::string line;
    while (std::getline(file, line)) {
        source += '\n';
        source += line;
    }
    return source;
}

GLuint GlslProg::compileStage(const std::string& source, GLenum stage) {
    const GLuint shader = glCreateShader(stage);
    if (shader == 0) {
        // Nothing sensible can be drawn without shader objects: end at once.
        std::printf("failed to create shader\n");
        std::fflush(stdout);
        std::exit(-1);
    }
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);

    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE) {
        glAttachShader(handle, shader);
        return shader;
    }
    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    const std::string log = readInfoLog(logLength, glGetShaderInfoLog, shader);
    glDeleteShader(shader);
    throw GlslProgCompileExc(stage, log.c_str());
}

void GlslProg::link() {
    glLinkProgram(handle);
    GLint status = GL_FALSE;
    glGetProgramiv(handle, GL_LINK_STATUS, &status);
    if (status == GL_TRUE) {
        return;
    }
    // A program that does not link draws nothing; report it like a failed stage instead of "Shader loaded".
    GLint logLength = 0;
    glGetProgramiv(handle, GL_INFO_LOG_LENGTH, &logLength);
    const std::string log = readInfoLog(logLength, glGetProgramInfoLog, handle);
    throw GlslProgCompileExc(0, log.c_str());
}

void GlslProg::bind() const {
    glUseProgram(handle);
}

void GlslProg::unbind() {
    glUseProgram(0);
}

GLint GlslProg::getUniformLocation(const std::string& name) {
    const auto cached = uniformLocations.find(name);
    if (cached != uniformLocations.end()) {
        return cached->second;
    }
    const GLint location = glGetUniformLocation(handle, name.c_str());
    uniformLocations.emplace(name, location);
    return location;
}

void GlslProg::setUniform(const std::string& name, const glm::mat4& value, bool transpose) {
    glUniformMatrix4fv(getUniformLocation(name), 1, transpose ? GL_TRUE : GL_FALSE, glm::value_ptr(value));
}

void GlslProg::setUniform(const std::string& name, const glm::vec2& value) {
    glUniform2f(getUniformLocation(name), value.x, value.y);
}

void GlslProg::setUniform(const std::string& name, const glm::vec3& value) {
    glUniform3f(getUniformLocation(name), value.x, value.y, value.z);
}

void GlslProg::setUniform(const std::string& name, int value) {
    glUniform1i(getUniformLocation(name), value);
}

void GlslProg::setUniform(const std::string& name, float value) {
    glUniform1f(getUniformLocation(name), value);
}

}  // namespace common::gl
