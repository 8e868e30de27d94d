#include "app/DebugOutput.h"

#include <algorithm>
#include <cstdio>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace common::app::debug_output {
namespace {

// AMD categories share the source and type lookups with the core enumerants.
constexpr unsigned kAmdApiError = 0x9149;
constexpr unsigned kAmdWindowSystem = 0x914A;
constexpr unsigned kAmdDeprecation = 0x914B;
constexpr unsigned kAmdUndefinedBehavior = 0x914C;
constexpr unsigned kAmdPerformance = 0x914D;
constexpr unsigned kAmdShaderCompiler = 0x914E;
constexpr unsigned kAmdApplication = 0x914F;
constexpr unsigned kAmdOther = 0x9150;

using StandardCallback = void(GLAPIENTRY*)(GLenum, GLenum, GLuint, GLenum, GLsizei, const GLchar*,
                                           const void*);
using AmdCallback = void(GLAPIENTRY*)(GLuint, GLenum, GLenum, GLsizei, const GLchar*, void*);
using InstallStandard = void(GLAPIENTRY*)(StandardCallback, const void*);
using InstallAmd = void(GLAPIENTRY*)(AmdCallback, void*);

// The driver may call these from a thread of its own: they format locally and write once.
void GLAPIENTRY standardCallback(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei /*length*/,
                                 const GLchar* message, const void* /*user*/) {
    const std::string text = format(source, type, id, severity, message);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void GLAPIENTRY amdCallback(GLuint id, GLenum category, GLenum severity, GLsizei /*length*/,
                            const GLchar* message, void* /*user*/) {
    const std::string text = format(category, category, id, severity, message);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

const char* sourceName(unsigned source) {
    switch (source) {
        case GL_DEBUG_SOURCE_API:
        case kAmdApiError:
            return "API";
        case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
        case kAmdWindowSystem:
            return "Window System";
        case GL_DEBUG_SOURCE_SHADER_COMPILER:
        case kAmdShaderCompiler:
            return "Shader Compiler";
        case GL_DEBUG_SOURCE_THIRD_PARTY:
            return "Third Party";
        case GL_DEBUG_SOURCE_APPLICATION:
        case kAmdApplication:
            return "Application";
        case GL_DEBUG_SOURCE_OTHER:
        case kAmdOther:
            return "Other";
        default:
            return "Unknown";
    }
}

const char* typeName(unsigned type) {
    switch (type) {
        case GL_DEBUG_TYPE_ERROR:
            return "Error";
        case GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR:
        case kAmdDeprecation:
            return "Deprecated Behavior";
        case GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR:
        case kAmdUndefinedBehavior:
            return "Undefined Behavior";
        case GL_DEBUG_TYPE_PORTABILITY:
            return "Portability";
        case GL_DEBUG_TYPE_PERFORMANCE:
        case kAmdPerformance:
            return "Performance";
        case GL_DEBUG_TYPE_OTHER:
        case kAmdOther:
            return "Other";
        default:
            return "Unknown";
    }
}

const char* severityName(unsigned severity) {
    switch (severity) {
        case GL_DEBUG_SEVERITY_HIGH:
            return "High";
        case GL_DEBUG_SEVERITY_MEDIUM:
            return "Medium";
        case GL_DEBUG_SEVERITY_LOW:
            return "Low";
        default:
            return "Unknown";
    }
}

std::string format(unsigned source, unsigned type, unsigned id, unsigned severity, const char* message) {
    std::string text = "OpenGL Error: ";
    text += message ? message : "";
    text += " [Source = ";
    text += sourceName(source);
    text += ", Type = ";
    text += typeName(type);
    text += ", Severity = ";
    text += severityName(severity);
    text += ", ID = ";
    text += std::to_string(id);
    text += "]";
    return text;
}

Api chooseApi(int major, int minor, const std::vector<std::string>& extensions) {
    auto offers = [&extensions](const char* name) {
        return std::find(extensions.begin(), extensions.end(), name) != extensions.end();
    };
    if (major > 4 || (major == 4 && minor >= 3) || offers("GL_KHR_debug")) {
        return Api::Core;
    }
    if (offers("GL_ARB_debug_output")) {
        return Api::Arb;
    }
    return offers("GL_AMD_debug_output") ? Api::Amd : Api::None;
}

bool install() {
    GLint major = 0;
    GLint minor = 0;
    GLint count = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    std::vector<std::string> extensions;
    for (GLint i = 0; i < count; ++i) {
        if (const GLubyte* name = glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i))) {
            extensions.emplace_back(reinterpret_cast<const char*>(name));
        }
    }
    const Api api = chooseApi(major, minor, extensions);
    if (api == Api::Amd) {
        auto amd = reinterpret_cast<InstallAmd>(glfwGetProcAddress("glDebugMessageCallbackAMD"));
        if (amd) {
            amd(amdCallback, nullptr);
        }
        return amd != nullptr;
    }
    if (api == Api::None) {
        return false;
    }
    auto standard = reinterpret_cast<InstallStandard>(
        glfwGetProcAddress(api == Api::Core ? "glDebugMessageCallback" : "glDebugMessageCallbackARB"));
    if (!standard) {
        return false;
    }
    // The window is a debug context; enabling the output makes sure real errors surface. The switch
    // exists only where the core interface does: on an ARB-only context the call itself is an error.
    if (api == Api::Core) {
        glEnable(GL_DEBUG_OUTPUT);
    }
    standard(standardCallback, nullptr);
    return true;
}

}  // namespace common::app::debug_output
