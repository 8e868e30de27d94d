#include "app/Renderer.h"

#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/Config.h"
#include "app/Logger.h"

namespace common::app {
namespace {

void keyCallback(GLFWwindow* /*window*/, int key, int /*scancode*/, int action, int /*mods*/) {
    Renderer::instance().onKey(key, action);
}

}  // namespace

Renderer& Renderer::instance() {
    static Renderer renderer;
    return renderer;
}

Renderer::Renderer() {
    Logger::instance().debug("Renderer created");
}

void Renderer::init() {
    const Config config = Config::readFile("config.txt");
    width = config.width;
    height = config.height;
    fullscreen = config.fullscreen;
    createWindow();
    glfwSetKeyCallback(window_, keyCallback);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
}

void Renderer::createWindow() {
    if (!glfwInit()) {
        std::fputs("Failed to initialize GLFW\n", stderr);
        std::exit(-1);
    }
    glfwWindowHint(GLFW_SAMPLES, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_DEPTH_BITS, 32);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    // A debug context, so that the driver reports real errors through the debug output.
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);

    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    window_ = glfwCreateWindow(width, height, "Skyrings", monitor, nullptr);
    if (!window_) {
        std::fputs(
            "Failed to open GLFW window. If you have an Intel GPU, they are not 3.3 compatible. Try the 2.1 "
            "version of the tutorials.\n",
            stderr);
        glfwTerminate();
        std::exit(-1);
    }
    glfwMakeContextCurrent(window_);

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fputs("Failed to initialize GLEW\n", stderr);
        std::exit(-1);
    }
    // GLEW's probing leaves a stale GL_INVALID_ENUM on core contexts; nothing else reads it.
    glGetError();
    glfwSetInputMode(window_, GLFW_STICKY_KEYS, GLFW_TRUE);
}

void Renderer::update(double /*dt*/) {}

void Renderer::draw() {
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Renderer::onKey(int /*key*/, int /*action*/) {}

}  // namespace common::app
