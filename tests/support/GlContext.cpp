#include "tests/support/GlContext.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <string>

namespace testsupport {
namespace {

GLFWwindow* gWindow = nullptr;
std::string gFailure;

void createContext() {
    if (!glfwInit()) {
        gFailure = "glfwInit failed (is DISPLAY set to a running X server?)";
        return;
    }
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_DEPTH_BITS, 32);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    gWindow = glfwCreateWindow(64, 64, "skyrings-test", nullptr, nullptr);
    if (!gWindow) {
        gFailure = "could not open a 3.3 core window";
        return;
    }
    glfwMakeContextCurrent(gWindow);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        gFailure = "glewInit failed";
        return;
    }
    // GLEW may leave a harmless GL_INVALID_ENUM behind on core contexts.
    while (glGetError() != GL_NO_ERROR) {
    }
}

}  // namespace

void ensureGlContext() {
    static bool attempted = false;
    if (!attempted) {
        attempted = true;
        createContext();
    }
    ASSERT_TRUE(gFailure.empty()) << gFailure;
}

void GlTest::SetUp() {
    ensureGlContext();
}

}  // namespace testsupport
