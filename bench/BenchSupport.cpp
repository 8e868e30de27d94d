#include "bench/BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/ContextHints.h"

namespace bench {
namespace {

long statusFieldKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) {
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
        }
    }
    return -1;
}

double percentile(const std::vector<double>& sorted, double fraction) {
    // Nearest rank: the smallest value with at least `fraction` of the samples at or below it.
    const std::size_t rank = std::size_t(std::ceil(fraction * double(sorted.size())));
    return sorted[std::min(sorted.size() - 1, rank > 0 ? rank - 1 : 0)];
}

}  // namespace

void enterRunDirectory() {
    const char* override = std::getenv("SKYRINGS_BENCH_RUN_DIR");
    const char* directory = override && *override ? override : SKYRINGS_RUN_DIR;
    std::error_code error;
    std::filesystem::current_path(directory, error);
    if (error) {
        std::fprintf(stderr, "Cannot enter %s: %s\n", directory, error.message().c_str());
        std::exit(-1);
    }
}

GLFWwindow* openGameWindow(int width, int height, bool visible) {
    if (!glfwInit()) {
        std::fputs("Failed to initialize GLFW (is DISPLAY set?)\n", stderr);
        std::exit(-1);
    }
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    common::app::setContextHints();
    GLFWwindow* window = glfwCreateWindow(width, height, "skyrings-bench", nullptr, nullptr);
    if (!window) {
        std::fputs("Failed to open a 3.3 core window\n", stderr);
        glfwTerminate();
        std::exit(-1);
    }
    glfwMakeContextCurrent(window);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::fputs("Failed to initialize GLEW\n", stderr);
        std::exit(-1);
    }
    // GLEW leaves a harmless GL_INVALID_ENUM behind on core contexts.
    while (glGetError() != GL_NO_ERROR) {
    }
    return window;
}

std::string glRenderer() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer ? renderer : "unknown renderer";
}

FrameStats summarize(std::vector<double> milliseconds) {
    FrameStats stats;
    if (milliseconds.empty()) {
        return stats;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    stats.medianMs = percentile(milliseconds, 0.5);
    stats.p95Ms = percentile(milliseconds, 0.95);
    stats.p99Ms = percentile(milliseconds, 0.99);
    double sum = 0.0;
    for (double value : milliseconds) {
        sum += value;
    }
    stats.meanMs = sum / double(milliseconds.size());
    stats.fps = 1000.0 / stats.medianMs;
    return stats;
}

long peakResidentKiB() {
    return statusFieldKiB("VmHWM");
}

long residentKiB() {
    return statusFieldKiB("VmRSS");
}

int silenceStdout() {
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int sink = open("/dev/null", O_WRONLY);
    if (sink >= 0) {
        dup2(sink, STDOUT_FILENO);
        close(sink);
    }
    return saved;
}

void restoreStdout(int saved) {
    std::fflush(stdout);
    if (saved >= 0) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::string loadAverages() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double nowSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double millisecondsSince(double startSeconds) {
    return (nowSeconds() - startSeconds) * 1000.0;
}

}  // namespace bench
