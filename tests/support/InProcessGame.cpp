#include "tests/support/InProcessGame.h"

#include <filesystem>
#include <string>

#include <GLFW/glfw3.h>

#include "app/DebugOutput.h"
#include "app/Renderer.h"
#include "tests/support/TestFiles.h"

namespace testsupport {

common::app::Renderer& startGameInProcess(int width, int height, const std::string& moreConfig) {
    // Kept to the end of the process: the game reads its resources from here as it runs.
    static TempDir tree;
    static bool started = false;
    common::app::Renderer& renderer = common::app::Renderer::instance();
    if (!started) {
        started = true;
        tree.write("bin/config.txt", "WIDTH\n" + std::to_string(width) + "\nHEIGHT\n" +
                                         std::to_string(height) + "\n" + moreConfig);
        std::filesystem::create_directory_symlink(std::filesystem::path(SKYRINGS_STAGE_DIR) / "resources",
                                                  tree.path() / "resources");
        static ScopedCwd cwd(tree.path() / "bin");
        renderer.init();
        common::app::debug_output::install();
    }
    return renderer;
}

void runFrame(common::app::Renderer& renderer, double dt) {
    renderer.update(dt);
    renderer.draw();
    glfwSwapBuffers(renderer.window());
    glfwPollEvents();
}

}  // namespace testsupport
