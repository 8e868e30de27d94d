#include "gl/GlslProgCompileExc.h"

#include <cstring>

#include <GL/glew.h>

namespace common::gl {

GlslProgCompileExc::GlslProgCompileExc(std::uint32_t shaderType, const char* text) : shaderType(shaderType) {
    const char* label = stageLabel(shaderType);
    const std::size_t labelLength = strnlen(label, kLabelLimit);
    std::memcpy(message, label, labelLength);
    const std::size_t textLength = text ? strnlen(text, kTextLimit) : 0;
    if (textLength > 0) {
        std::memcpy(message + labelLength, text, textLength);
    }
    message[labelLength + textLength] = '\0';
}

const char* GlslProgCompileExc::stageLabel(std::uint32_t shaderType) {
    switch (shaderType) {
        case GL_VERTEX_SHADER:
            return "VERTEX: ";
        case GL_FRAGMENT_SHADER:
            return "FRAGMENT: ";
        case GL_GEOMETRY_SHADER:
            return "GEOMETRY: ";
        default:
            return "UNKNOWN: ";
    }
}

}  // namespace common::gl
