#include "tests/support/InProcessGame.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <GLFW/glfw3.h>

#include "app/DebugOutput.h"
#include "app/Renderer.h"
#include "tests/support/TestFiles.h"

namespace testsupport {
namespace {

// Kept to the end of the process: the game reads its resources from here as it runs.
const TempDir& gameTree() {
    static TempDir tree;
    return tree;
}

}  // namespace

std::filesystem::path inProcessRecordsFile() {
    return gameTree().path() / "data" / "skyrings" / "records.json";
}

common::app::Renderer& startGameInProcess(int width, int height, const std::string& moreConfig) {
    const TempDir& tree = gameTree();
    static bool started = false;
    common::app::Renderer& renderer = common::app::Renderer::instance();
    if (!started) {
        started = true;
        tree.write("bin/config.txt", "WIDTH\n" + std::to_string(width) + "\nHEIGHT\n" +
                                         std::to_string(height) + "\n" + moreConfig);
        std::filesystem::create_directory_symlink(std::filesystem::path(SKYRINGS_STAGE_DIR) / "resources",
                                                  tree.path() / "resources");
        static ScopedCwd cwd(tree.path() / "bin");
        setenv("XDG_DATA_HOME", (tree.path() / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (tree.path() / "config").c_str(), 1);
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
