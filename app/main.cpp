// Skyrings entry point: start-up, the frame loop, shutdown.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
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
#include "course/CourseCommand.h"
#include "course/CourseRecorder.h"
#include "course/PlayerCourses.h"
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

// The player's courses join the shipped ones: the one file asked for, or every file of the folder.
// Returns the course to start on, or nothing when the file asked for cannot be played.
std::optional<std::string> joinPlayerCourses(const common::app::Options& options,
                                             common::app::CourseCatalogue& catalogue) {
    if (!options.recordCourse().empty()) {
        const std::string name =
            common::course::CourseCommand::addRecording(options.recordCourse(), options.island(), catalogue);
        return name.empty() ? std::nullopt : std::optional<std::string>(name);
    }
    if (!options.courseFile().empty()) {
        const std::string name = common::course::CourseCommand::addFile(options.courseFile(), catalogue);
        return name.empty() ? std::nullopt : std::optional<std::string>(name);
    }
    common::course::PlayerCourses::join(
        catalogue, common::course::PlayerCourses::folder(),
        [](const std::string& line) { common::app::Logger::instance().warning(line); });
    return options.course();
}

}  // namespace

int main(int argc, char** argv) {
    common::app::CourseCatalogue catalogue = common::app::CourseCatalogue::load();
    const std::vector<std::string> islands = courseNames(catalogue);
    std::vector<std::string> courses = islands;
    for (const std::string& name : common::course::CourseCommand::playerNames()) {
        courses.push_back(name);
    }
    const common::app::Options options = common::app::Options::parse(argc, argv, courses, islands);
    if (const std::optional<int> status = options.exitStatus()) {
        if (*status == 0) {
            std::fputs(options.message().c_str(), stdout);
        } else {
            common::app::Logger::instance().warning(options.message());
        }
        return *status;
    }
    if (!options.checkCourse().empty()) {
        return common::course::CourseCommand::check(options.checkCourse(), catalogue);
    }
    const std::optional<std::string> course = joinPlayerCourses(options, catalogue);
    if (!course) {
        return common::course::CourseCommand::kProblems;
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
        renderer.init(options.demo(), *course, std::nullopt, std::move(catalogue));
        if (!options.recordCourse().empty()) {
            renderer.session().record(
                std::make_unique<common::course::CourseRecorder>(options.recordCourse(), options.island(),
                                                                 renderer.session().race().course().start),
                common::course::PlayerCourses::folder().string());
        }
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
