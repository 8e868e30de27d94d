// The real game binary on the virtual display: window size, quitting, console and failure paths.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/GameProcess.h"

using testsupport::GameProcess;
using testsupport::runCommand;

namespace {

std::string windowGeometry(const std::string& window) {
    const std::string info = runCommand("xwininfo -id " + window);
    auto field = [&](const std::string& name) {
        const auto at = info.find(name);
        return at == std::string::npos
                   ? std::string("?")
                   : info.substr(at + name.size(), info.find('\n', at) - at - name.size());
    };
    return field("Width: ") + "x" + field("Height: ");
}

}  // namespace

TEST(AppShell, OpensTheConfiguredSizeAndQuitsOnEscape) {
    GameProcess game({"WIDTH\n1024\nHEIGHT\n768\n", true, true});
    game.start();
    const std::string window = game.waitForWindow();
    ASSERT_FALSE(window.empty()) << game.out() << game.err();
    EXPECT_EQ(windowGeometry(window), "1024x768");
    game.key("Escape");
    EXPECT_EQ(game.waitForExit(), 0) << game.err();
    const std::string out = game.out();
    EXPECT_EQ(out.rfind("Debug: Renderer created\n", 0), 0u) << out;
    EXPECT_EQ(game.err(), "");
}

TEST(AppShell, WithoutConfigTheWindowIs800By600) {
    GameProcess game({std::nullopt, true, true});
    game.start();
    const std::string window = game.waitForWindow();
    ASSERT_FALSE(window.empty()) << game.out() << game.err();
    EXPECT_EQ(windowGeometry(window), "800x600");
    game.key("Escape");
    EXPECT_EQ(game.waitForExit(), 0);
}

TEST(AppShell, WithoutADisplayGlfwFailsWithStatus255) {
    GameProcess game({std::nullopt, false, true});
    game.start();
    EXPECT_EQ(game.waitForExit(), 255);
    EXPECT_EQ(game.err(), "Failed to initialize GLFW\n");
    EXPECT_EQ(game.out(), "Debug: Renderer created\n");
}
