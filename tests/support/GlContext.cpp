#include "tests/support/GlContext.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <string>

#include "app/ContextHints.h"

namespace testsupport {
namespace {

// Empty when the context is current, else what went wrong.
std::string createContext() {
    if (!glfwInit()) {
        return "glfwInit failed (is DISPLAY set to a running X server?)";
    }
    common::app::setContextHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "skyrings-test", nullptr, nullptr);
    if (!window) {
        return "could not open a 3.3 core window";
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        return "glewInit failed";
    }
    // GLEW may leave a harmless GL_INVALID_ENUM behind on core contexts.
    while (glGetError() != GL_NO_ERROR) {
    }
    return "";
}

}  // namespace

void ensureGlContext() {
    static const std::string failure = createContext();
    ASSERT_TRUE(failure.empty()) << failure;
}

void GlTest::SetUp() {
    ensureGlContext();
}

}  // namespace testsupport
