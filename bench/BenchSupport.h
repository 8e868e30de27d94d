#pragma once

#include <string>
#include <vector>

struct GLFWwindow;

// Helpers shared by the benchmark programs: the game's window and context, the run directory, the
// statistics of a series of frame times and the process's memory figures.
namespace bench {

// Frames are timed over this window size, the game's default.
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Changes to the staged game directory, so "../resources/" and config.txt resolve as for the game;
// SKYRINGS_BENCH_RUN_DIR names another such directory (a copy with changed shaders, say).
void enterRunDirectory();

// Opens a window with the game's hints (four samples, 3.3 core, 32-bit depth, no stencil), makes its
// context current and initialises GLEW. Ends the process with one line on failure.
GLFWwindow* openGameWindow(int width, int height, bool visible);

// "llvmpipe (LLVM 15.0.6, 256 bits)" and the like, for the tables' headings.
std::string glRenderer();

struct FrameStats {
    double medianMs = 0.0;
    double p95Ms = 0.0;
    double p99Ms = 0.0;
    double meanMs = 0.0;
    double fps = 0.0;  // frames per second at the median frame time
};
FrameStats summarize(std::vector<double> milliseconds);

// Peak and current resident set size of this process, in KiB (VmHWM and VmRSS).
long peakResidentKiB();
long residentKiB();

// Sends standard output to /dev/null (the game's console lines are not part of the tables) and
// brings it back; silenceStdout returns what restoreStdout needs.
int silenceStdout();
void restoreStdout(int saved);

// CPU time this process has used so far (all threads, the rasterizer's included), in seconds: a
// cost figure that other programs on the machine do not inflate the way they inflate wall time.
double processCpuSeconds();
// "1.02 0.87 0.55": the machine's load averages, printed with every table.
std::string loadAverages();

double millisecondsSince(double startSeconds);
double nowSeconds();

}  // namespace bench
