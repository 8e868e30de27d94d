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

// The build installed into a prefix of its own, and a home with its own XDG folders.
class Install : public ::testing::Test {
  protected:
    void SetUp() override {
        installLog_ =
            runCommand(std::string("'") + SKYRINGS_CMAKE_COMMAND + "' --install '" + SKYRINGS_BINARY_DIR +
                       "' --prefix '" + prefix_.path().string() + "' 2>&1; echo status=$?");
    }

    fs::path prefix() const { return prefix_.path(); }

    // The launcher, started in a folder that holds a config.txt of its own which must not count.
    GameProcess launch(const char* argument = nullptr) {
        GameProcess::Options options{"WIDTH\n320\nHEIGHT\n240\n", true, false, argument};
        options.program = prefix() / "bin/skyrings";
        options.environment = {"XDG_CONFIG_HOME=" + (home_.path() / "config").string(),
                               "XDG_CACHE_HOME=" + (home_.path() / "cache").string()};
        return GameProcess(options);
    }
    fs::path userConfig() const { return home_.path() / "config/skyrings/config.txt"; }

    TempDir prefix_;
    std::string installLog_;
    TempDir home_;
};

}  // namespace

TEST_F(Install, FirstRunCopiesTheShippedConfigLaterRunsReadThePlayersCopyAndOptionsPassThrough) {
    ASSERT_NE(installLog_.find("status=0"), std::string::npos) << installLog_;
    const std::string shipped = readFile(prefix() / "share/skyrings/config.txt");
    ASSERT_EQ(shipped, readFile(fs::path(SKYRINGS_SOURCE_DIR) / "config.txt"));
    {
        GameProcess game = launch();
        ASSERT_TRUE(game.startDrawing());
        EXPECT_EQ(game.windowSize(), "800x600");
        EXPECT_TRUE(game.quit());
        EXPECT_EQ(game.err(), "");
    }
    EXPECT_EQ(readFile(userConfig()), shipped);

    // The player edits their copy: the next start uses it and leaves it (and the shipped one) alone.
    const std::string edited = "WIDTH\n640\nHEIGHT\n480\n";
    {
        std::ofstream(userConfig()) << edited;
        GameProcess game = launch();
        ASSERT_TRUE(game.startDrawing());
        EXPECT_EQ(game.windowSize(), "640x480");
        EXPECT_TRUE(game.quit());
    }
    EXPECT_EQ(readFile(userConfig()), edited);
    EXPECT_EQ(readFile(prefix() / "share/skyrings/config.txt"), shipped);

    // The version and mistakes end before any window: the launcher passes options and status through.
    const struct {
        const char* argument;
        int status;
        const char* printed;
        bool onStandardError;
    } cases[] = {{"--version", 0, "skyrings ", false}, {"--fly", 2, "Usage: skyrings", true}};
    for (const auto& item : cases) {
        GameProcess game = launch(item.argument);
        game.start();
        EXPECT_EQ(game.waitForExit(), item.status) << item.argument;
        const std::string printed = item.onStandardError ? game.err() : game.out();
        const std::string other = item.onStandardError ? game.out() : game.err();
        EXPECT_NE(printed.find(item.printed), std::string::npos) << item.argument << ": " << printed;
        EXPECT_EQ(other, "") << item.argument;
        if (item.onStandardError) {
            EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
        }
    }
}
