#pragma once

// GL state queries for the tests that need a context.

#include <GL/glew.h>

namespace testsupport {

inline GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// A parameter of a 2D texture, or of its mipmap level `level` when level >= 0.
inline GLint texParameter(GLuint texture, GLenum name, GLint level = -1) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    if (level < 0) {
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    } else {
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// The first GL error since the last call (GL_NO_ERROR when none); clears the others.
inline GLenum glError() {
    const GLenum first = glGetError();
    while (glGetError() != GL_NO_ERROR) {
    }
    return first;
}

}  // namespace testsupport
