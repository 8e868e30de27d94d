#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>

#include <map>
#include <string>

namespace common::gl {

// One linked program made of a vertex and a fragment shader read from GLSL files. Owns its program and
// shader objects. Uniforms are set by name; each name's location is looked up once and cached (a name
// the program lacks is cached as -1 and ignored by GL). The setters expect the program to be bound.
class GlslProg {
  public:
    // Reads, compiles and links; prints "Shader loaded". Throws GlslProgCompileExc when a file cannot be
    // opened, a stage does not compile or the program does not link. `defines` (preprocessor lines,
    // each ending in a line feed) go into both stages right after their #version line.
    GlslProg(const char* vertexPath, const char* fragmentPath, const std::string& defines = {});
    ~GlslProg();
    GlslProg(const GlslProg&) = delete;
    GlslProg& operator=(const GlslProg&) = delete;

    void bind() const;
    static void unbind();

    GLint getUniformLocation(const std::string& name);

    void setUniform(const std::string& name, const glm::mat4& value, bool transpose = false);
    void setUniform(const std::string& name, const glm::vec2& value);
    void setUniform(const std::string& name, const glm::vec3& value);
    void setUniform(const std::string& name, int value);
    void setUniform(const std::string& name, float value);

    // Source text as the program sees it: every line preceded by a line feed, none after the last.
    static std::string readSource(const char* path);

    GLuint handle = 0;
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;

  private:
    GLuint compileStage(const std::string& source, GLenum stage);
    void link();
    void release();

    std::map<std::string, GLint> uniformLocations;
};

}  // namespace common::gl
