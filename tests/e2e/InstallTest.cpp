// The installed game: `cmake --install` into a temporary prefix, then the launcher started from an
// unrelated folder with its own XDG folders, on the virtual display.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/GameProcess.h"

using testsupport::GameProcess;
using testsupport::readFile;
using testsupport::runCommand;
using testsupport::TempDir;

namespace {

namespace fs = std::filesystem;

// Installs the build once for every test in this file.
class Install : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix_ = new TempDir();
        installLog_ =
            runCommand(std::string("'") + SKYRINGS_CMAKE_COMMAND + "' --install '" + SKYRINGS_BINARY_DIR +
                       "' --prefix '" + prefix_->path().string() + "' 2>&1; echo status=$?");
    }
    static void TearDownTestSuite() {
        delete prefix_;
        prefix_ = nullptr;
    }

    fs::path prefix() const { return prefix_->path(); }

    // The launcher, started in a folder that holds a config.txt of its own which must not count.
    GameProcess launch(const char* argument = nullptr) {
        return GameProcess({"WIDTH\n320\nHEIGHT\n240\n",
                            true,
                            false,
                            argument,
                            prefix() / "bin/skyrings",
                            {"XDG_CONFIG_HOME=" + (home_.path() / "config").string(),
                             "XDG_CACHE_HOME=" + (home_.path() / "cache").string()}});
    }
    fs::path userConfig() const { return home_.path() / "config/skyrings/config.txt"; }

    static TempDir* prefix_;
    static std::string installLog_;
    TempDir home_;
};

TempDir* Install::prefix_ = nullptr;
std::string Install::installLog_;

}  // namespace

TEST_F(Install, LaysOutTheLauncherGameResourcesAndShippedConfig) {
    ASSERT_NE(installLog_.find("status=0"), std::string::npos) << installLog_;
    for (const char* file : {"bin/skyrings", "lib/skyrings/skyrings", "share/skyrings/config.txt",
                             "share/skyrings/resources/meshes/low_res_Mountain/mountain_player.dae",
                             "share/skyrings/resources/shaders/blurShader/BlurFragmentShader.frag",
                             "share/skyrings/resources/sounds/engine.wav"}) {
        EXPECT_TRUE(fs::is_regular_file(prefix() / file)) << file;
    }
    const auto launcher = fs::status(prefix() / "bin/skyrings").permissions();
    EXPECT_NE(launcher & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(Install, FirstRunCopiesTheShippedConfigAndLaterRunsReadThePlayersCopy) {
    const std::string shipped = readFile(prefix() / "share/skyrings/config.txt");
    ASSERT_EQ(shipped, readFile(fs::path(SKYRINGS_SOURCE_DIR) / "config.txt"));
    {
        GameProcess game = launch();
        game.start();
        ASSERT_FALSE(game.waitForWindow().empty()) << game.out() << game.err();
        EXPECT_TRUE(game.waitForFirstFrame()) << game.err();
        EXPECT_EQ(game.windowSize(), "800x600");
        game.key("Escape");
        EXPECT_EQ(game.waitForExit(), 0) << game.err();
        EXPECT_EQ(game.err(), "");
    }
    EXPECT_EQ(readFile(userConfig()), shipped);

    // The player edits their copy: the next start uses it and leaves it (and the shipped one) alone.
    const std::string edited = "WIDTH\n640\nHEIGHT\n480\n";
    {
        std::ofstream(userConfig()) << edited;
        GameProcess game = launch();
        game.start();
        ASSERT_FALSE(game.waitForWindow().empty()) << game.out() << game.err();
        EXPECT_EQ(game.windowSize(), "640x480");
        game.key("Escape");
        EXPECT_EQ(game.waitForExit(), 0) << game.err();
    }
    EXPECT_EQ(readFile(userConfig()), edited);
    EXPECT_EQ(readFile(prefix() / "share/skyrings/config.txt"), shipped);
}

TEST_F(Install, TheLauncherPassesOptionsAndExitStatusThrough) {
    GameProcess version = launch("--version");
    version.start();
    EXPECT_EQ(version.waitForExit(), 0);
    EXPECT_EQ(version.out().rfind("skyrings ", 0), 0u) << version.out() << version.err();

    GameProcess wrong = launch("--fly");
    wrong.start();
    EXPECT_EQ(wrong.waitForExit(), 2);
    EXPECT_NE(wrong.err().find("Usage: skyrings"), std::string::npos) << wrong.err();
}
