#include "tests/support/GameProcess.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

std::filesystem::path stagedResources() {
    return std::filesystem::path(SKYRINGS_STAGE_DIR) / "resources";
}

}  // namespace

std::string runCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    char buffer[4096];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, count);
    }
    pclose(pipe);
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
    const std::string outPath = (root_.path() / "stdout.txt").string();
    const std::string errPath = (root_.path() / "stderr.txt").string();
    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        if (chdir(runDir_.c_str()) != 0) {
            _exit(120);
        }
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (!options_.withDisplay) {
            unsetenv("DISPLAY");
        }
        for (const std::string& entry : options_.environment) {
            putenv(const_cast<char*>(entry.c_str()));
        }
        const std::string program =
            options_.program.empty() ? std::string(SKYRINGS_GAME_BINARY) : options_.program.string();
        execl(program.c_str(), program.c_str(), options_.argument, static_cast<char*>(nullptr));
        _exit(121);
    }
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

std::string GameProcess::waitForWindow(std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline && running()) {
        std::string ids =
            runCommand("xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null");
        if (!ids.empty()) {
            window_ = ids.substr(0, ids.find('\n'));
            // Without a window manager nothing gives the window focus; key presses go to the focus.
            xdotool("windowfocus --sync " + window_);
            return window_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

bool GameProcess::waitForFirstFrame(std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline && running()) {
        const std::string title = runCommand("xdotool getwindowname " + window_ + " 2>/dev/null");
        if (!title.empty() && title[0] == ' ') {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool GameProcess::waitForOutput(const std::string& text, std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (out().find(text) != std::string::npos) {
            return true;
        }
        if (!running()) {
            return out().find(text) != std::string::npos;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void GameProcess::xdotool(const std::string& args) {
    runCommand("xdotool " + args + " 2>/dev/null");
}

void GameProcess::key(const std::string& name) {
    xdotool("key " + name);
}
void GameProcess::keyDown(const std::string& name) {
    xdotool("keydown " + name);
}
void GameProcess::keyUp(const std::string& name) {
    xdotool("keyup " + name);
}

std::string GameProcess::windowSize() const {
    const std::string info = runCommand("xwininfo -id " + window_ + " 2>/dev/null");
    auto field = [&](const std::string& name) {
        const auto at = info.find(name);
        return at == std::string::npos
                   ? std::string("?")
                   : info.substr(at + name.size(), info.find('\n', at) - at - name.size());
    };
    return field("Width: ") + "x" + field("Height: ");
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
    const auto deadline = Clock::now() + timeout;
    while (running()) {
        if (Clock::now() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            status_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
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
