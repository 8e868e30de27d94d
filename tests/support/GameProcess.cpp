#include "tests/support/GameProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

std::filesystem::path stagedResources() {
    return std::filesystem::path(SKYRINGS_STAGE_DIR) / "resources";
}

std::string runCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t count = 0; (count = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, count);
        }
        pclose(pipe);
    }
    return output;
}

GameProcess::GameProcess(Options options) : options_(std::move(options)), runDir_(root_.path() / "bin") {
    std::filesystem::create_directories(runDir_);
    if (options_.config) {
        root_.write("bin/config.txt", *options_.config);
    }
    if (options_.linkResources) {
        std::filesystem::create_directory_symlink(stagedResources(), resourcesDir());
    }
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void GameProcess::copyResources() {
    std::filesystem::remove(resourcesDir());
    std::filesystem::copy(stagedResources(), resourcesDir(), std::filesystem::copy_options::recursive);
}

void GameProcess::start() {
    // The shell moves to the run folder and sends the output to the files, then becomes the game.
    // Built before the fork: the child only runs the shell.
    std::string command = std::string(options_.withDisplay ? "" : "unset DISPLAY; ") + "cd '" +
                          runDir_.string() + "' && exec env";
    // The game's records and settings go to the temporary tree, never to the real home; a test may name
    // its own.
    command += " 'XDG_DATA_HOME=" + dataDir().string() + "'";
    command += " 'XDG_CONFIG_HOME=" + configDir().string() + "'";
    for (const std::string& entry : options_.environment) {
        command += " '" + entry + "'";
    }
    command += " '" +
               (options_.program.empty() ? std::string(SKYRINGS_GAME_BINARY) : options_.program.string()) +
               "'";
    if (options_.argument) {
        command += std::string(" '") + options_.argument + "'";
    }
    for (const std::string& argument : options_.moreArguments) {
        command += " '" + argument + "'";
    }
    command += " >'" + (root_.path() / "stdout.txt").string() + "' 2>'" +
               (root_.path() / "stderr.txt").string() + "'";
    pid_ = fork();
    if (pid_ == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(121);
    }
    ASSERT_GT(pid_, 0) << "fork failed";
}

::testing::AssertionResult GameProcess::startDrawing() {
    start();
    if (waitForWindow().empty()) {
        return ::testing::AssertionFailure() << "no window, status " << waitForExit() << "\n"
                                             << out() << err();
    }
    if (!waitForFirstFrame()) {
        return ::testing::AssertionFailure() << "no frame drawn\n" << out() << err();
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameProcess::quit() {
    key("Escape");
    const int status = waitForExit();
    if (status != 0) {
        return ::testing::AssertionFailure() << "status " << status << " after Escape\n" << err();
    }
    return ::testing::AssertionSuccess();
}

bool GameProcess::running() {
    if (status_) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

bool GameProcess::waitUntil(const std::function<bool()>& done, std::chrono::seconds timeout,
                            std::chrono::milliseconds interval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(interval);
    }
    return true;
}

std::string GameProcess::waitForWindow(std::chrono::seconds timeout) {
    const std::string search = "xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null";
    waitUntil([&] { return !running() || !(window_ = runCommand(search)).empty(); }, timeout);
    window_ = window_.substr(0, window_.find('\n'));
    return window_;
}

bool GameProcess::waitForFirstFrame(std::chrono::seconds timeout) {
    // The title shows the frame rate, which starts with a blank, instead of the game's name.
    const std::string title = "xdotool getwindowname " + window_ + " 2>/dev/null";
    bool shown = false;
    waitUntil([&] { return !running() || (shown = runCommand(title)[0] == ' '); }, timeout);
    return shown;
}

bool GameProcess::waitForOutput(const std::string& text, std::chrono::seconds timeout) {
    waitUntil([&] { return out().find(text) != std::string::npos || !running(); }, timeout);
    return out().find(text) != std::string::npos;
}

void GameProcess::key(const std::string& name, const std::string& action) {
    runCommand("xdotool " + action + " --window " + window_ + " " + name + " 2>/dev/null");
}

std::string GameProcess::windowSize() const {
    const std::string size = runCommand("xwininfo -id " + window_ +
                                        " 2>/dev/null | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } "
                                        "END { print w \"x\" h }'");
    return size.substr(0, size.find('\n'));
}

void GameProcess::screenshot(const std::filesystem::path& path) {
    runCommand("import -window root '" + path.string() + "' 2>/dev/null");
    // SKYRINGS_SHOT_DIR keeps a copy of every screenshot for a person to look at.
    if (const char* keep = std::getenv("SKYRINGS_SHOT_DIR")) {
        std::error_code ignored;
        std::filesystem::copy_file(path, std::filesystem::path(keep) / path.filename(),
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
}

int GameProcess::waitForExit(std::chrono::seconds timeout) {
    if (!waitUntil([&] { return !running(); }, timeout)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        status_ = -1;
    }
    return *status_;
}

std::string GameProcess::out() const {
    return readFile(root_.path() / "stdout.txt");
}
std::string GameProcess::err() const {
    return readFile(root_.path() / "stderr.txt");
}

}  // namespace testsupport
