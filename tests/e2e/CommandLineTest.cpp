// The real binary's command line: help and version end before start-up, a mistake ends it with one
// usage line and status 2. No display: none of these may reach GLFW.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/GameProcess.h"

using testsupport::GameProcess;

TEST(CommandLine, HelpAndVersionPrintAndExitZeroWithoutStarting) {
    const struct {
        const char* argument;
        const char* printed;
    } cases[] = {{"--help", "--demo"}, {"--help", "Escape"}, {"--version", "skyrings "}};
    for (const auto& item : cases) {
        GameProcess game({std::nullopt, false, true, item.argument});
        game.start();
        EXPECT_EQ(game.waitForExit(), 0) << item.argument << game.err();
        EXPECT_NE(game.out().find(item.printed), std::string::npos) << game.out();
        EXPECT_EQ(game.out().find("Debug: Renderer created"), std::string::npos) << game.out();
        EXPECT_EQ(game.err(), "") << item.argument;
    }
}

TEST(CommandLine, AMistakeIsOneUsageLineAndStatusTwo) {
    GameProcess game({std::nullopt, false, true, "--fly"});
    game.start();
    EXPECT_EQ(game.waitForExit(), 2);
    const std::string err = game.err();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("--fly"), std::string::npos) << err;
    EXPECT_NE(err.find("Usage: skyrings"), std::string::npos) << err;
    EXPECT_EQ(game.out(), "");
}
