// Skyrings entry point: start-up, the frame loop, shutdown.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/CourseCatalogue.h"
#include "app/DebugOutput.h"
#include "app/FrameTime.h"
#include "app/Logger.h"
#include "app/MenuController.h"
#include "app/Options.h"
#include "app/Renderer.h"
#include "gl/ShaderController.h"

namespace {

void runFrameLoop(common::app::Renderer& renderer) {
    GLFWwindow* window = renderer.window();
    double previousTime = 0.0;
    do {
        // A minimised window has nothing to draw into: sleep until the window system has news.
        while (renderer.minimised() && !glfwWindowShouldClose(window)) {
            glfwWaitEvents();
            previousTime = glfwGetTime();
        }
        const double now = glfwGetTime();
        // The previous time keeps the raw reading; only the step handed to the game is clamped.
        const double dt = common::app::clampFrameTime(now - previousTime);
        previousTime = now;
        glfwSetWindowTitle(window, common::app::frameRateTitle(dt).c_str());

        renderer.update(dt);
        renderer.draw();
        glfwSwapBuffers(window);
        // GLFW 3's swap does not process events: poll here so key commands land between frames.
        glfwPollEvents();
    } while (glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_PRESS && !glfwWindowShouldClose(window));
}

// A start-up failure is one line on standard error, whatever line breaks its message carries (an
// open-failure text ends with one, a compile log may hold several).
void reportFatal(const char* message) {
    std::string line(message);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "%s\n", line.c_str());
}

std::vector<std::string> courseNames(const common::app::CourseCatalogue& catalogue) {
    std::vector<std::string> names;
    for (const common::scene::CourseInfo& course : catalogue.courses()) {
        names.push_back(course.name);
    }
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    const common::app::CourseCatalogue catalogue = common::app::CourseCatalogue::load();
    const common::app::Options options = common::app::Options::parse(argc, argv, courseNames(catalogue));
    if (const std::optional<int> status = options.exitStatus()) {
        if (*status == 0) {
            std::fputs(options.message().c_str(), stdout);
        } else {
            common::app::Logger::instance().warning(options.message());
        }
        return *status;
    }
    if (options.listCourses()) {
        if (!catalogue.problem().empty()) {
            common::app::Logger::instance().warning(catalogue.problem());
        }
        std::fputs(catalogue.listing().c_str(), stdout);
        return 0;
    }
    // Console lines must reach pipes and terminals as they happen, including unterminated ones.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    try {
        common::gl::ShaderController::setSharedLog(
            [](const std::string& line) { common::app::Logger::instance().debug(line); });
        common::app::Renderer& renderer = common::app::Renderer::instance();
        renderer.init(options.demo(), options.course());
        common::app::debug_output::install();
        if (options.menu()) {
            renderer.menu().pauseAtStart();
        }
        runFrameLoop(renderer);
        renderer.shutdown();
        glfwTerminate();
        return 0;
    } catch (const std::exception& error) {
        reportFatal(error.what());
        return -1;
    }
}
