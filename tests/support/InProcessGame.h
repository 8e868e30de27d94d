#pragma once

#include <filesystem>
#include <string>

namespace common::app {
class Renderer;
}

namespace testsupport {

// The real game in this process, as the entry point builds it: the renderer with its window, the
// scene, the shader registry and the debug output, running in a stage-like tree of its own whose
// config.txt asks for a width x height window, followed by `moreConfig` (other keys). One per
// process, like the renderer; later calls return the same one.
common::app::Renderer& startGameInProcess(int width, int height, const std::string& moreConfig = "");

// The in-process game's records file: XDG_DATA_HOME points into its temporary tree.
std::filesystem::path inProcessRecordsFile();

// One frame as the main loop runs it, with a fixed step: update, draw, swap, events.
void runFrame(common::app::Renderer& renderer, double dt = 1.0 / 60.0);

}  // namespace testsupport
