#include "tests/support/GlContext.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <string>

#include "app/ContextHints.h"

namespace testsupport {
namespace {

GLFWwindow* gWindow = nullptr;
std::string gFailure;

void createContext() {
    if (!glfwInit()) {
        gFailure = "glfwInit failed (is DISPLAY set to a running X server?)";
        return;
    }
    common::app::setContextHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
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
