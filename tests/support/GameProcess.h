#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

namespace testsupport {

// The real skyrings binary in a temporary run tree (bin/config.txt, resources -> the staged ones),
// with its standard output and error captured in files and its window driven through xdotool and
// measured with xwininfo.
class GameProcess {
  public:
    struct Options {
        std::optional<std::string> config;         // contents of config.txt; none writes no file
        bool withDisplay = true;                   // false starts the game with DISPLAY unset
        bool linkResources = true;                 // false leaves ../resources for the test to fill
        const char* argument = nullptr;            // one command-line argument, such as "--demo"
        std::filesystem::path program{};           // what to start; empty for the built game binary
        std::vector<std::string> environment{};    // extra "NAME=value" entries for the game
        std::vector<std::string> moreArguments{};  // command-line arguments after `argument`
    };

    explicit GameProcess(Options options);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // The temporary tree: runDir() is the game's working directory, resourcesDir() its ../resources.
    const std::filesystem::path& runDir() const { return runDir_; }
    std::filesystem::path resourcesDir() const { return root_.path() / "resources"; }
    // The game's XDG_DATA_HOME (its records live in skyrings/ below it), unless the environment names one.
    std::filesystem::path dataDir() const { return root_.path() / "data"; }
    // The game's XDG_CONFIG_HOME (its settings live in skyrings/ below it), unless the environment names one.
    std::filesystem::path configDir() const { return root_.path() / "config"; }
    // Copies the staged resources instead of linking them, so a test can damage its own copy.
    void copyResources();

    void start();
    // Starts the game and waits for its window and first frame; a failure carries the game's output.
    ::testing::AssertionResult startDrawing();
    // Presses Escape and waits for the game to end with status 0; a failure carries standard error.
    ::testing::AssertionResult quit();
    // Window id of the game's visible window, waiting up to `timeout`; empty when none appeared.
    std::string waitForWindow(std::chrono::seconds timeout = std::chrono::seconds(60));
    // Waits until the frame loop runs (the window title shows the frame rate instead of the name).
    bool waitForFirstFrame(std::chrono::seconds timeout = std::chrono::seconds(60));
    // Waits until standard output contains `text` (returns false on timeout or exit).
    bool waitForOutput(const std::string& text, std::chrono::seconds timeout = std::chrono::seconds(60));
    // xdotool's `action` (key, keydown or keyup) with a key name such as "F3", "Escape", "Up", "r", sent
    // to the window itself (XSendEvent): it arrives even while another test's window holds the focus.
    void key(const std::string& name, const std::string& action = "key");
    // The window's size as the X server reports it, "800x600" ("x" when it cannot be read).
    std::string windowSize() const;
    // Screenshot of the whole virtual screen (the window sits at its top-left corner).
    void screenshot(const std::filesystem::path& path);
    // Exit status (0..255), or -1 when the process had to be killed after `timeout`.
    int waitForExit(std::chrono::seconds timeout = std::chrono::seconds(30));
    bool running();

    std::string out() const;
    std::string err() const;

    // Polls `done` every `interval` until it holds (true) or the time is up (false).
    static bool waitUntil(const std::function<bool()>& done, std::chrono::seconds timeout,
                          std::chrono::milliseconds interval = std::chrono::milliseconds(100));

  private:
    Options options_;
    TempDir root_;
    std::filesystem::path runDir_;
    int pid_ = -1;
    std::optional<int> status_;
    std::string window_;
};

// Runs a shell command and returns its standard output.
std::string runCommand(const std::string& command);
// The resources the build generated and staged beside the game.
std::filesystem::path stagedResources();

}  // namespace testsupport
