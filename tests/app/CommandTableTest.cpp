#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <GLFW/glfw3.h>

#include "app/Options.h"

using common::app::Command;
using common::app::CommandId;
using common::app::CommandTable;

namespace {

// The first column of the README's controls table, row by row.
std::vector<std::string> readmeControlKeys() {
    std::ifstream readme(std::string(SKYRINGS_SOURCE_DIR) + "/README.md");
    std::vector<std::string> keys;
    std::string line;
    bool inControls = false;
    while (std::getline(readme, line)) {
        if (line.rfind("## ", 0) == 0) {
            inControls = line == "## Controls";
        } else if (inControls && line.rfind("| ", 0) == 0 && line != "| key | action |") {
            keys.push_back(line.substr(2, line.find(" |") - 2));
        }
    }
    return keys;
}

}  // namespace

// Each key and pad button runs one command; the keys the game polls run none when pressed.
TEST(CommandTable, KeysAndButtonsFindTheirCommand) {
    std::set<int> keys;
    std::set<int> buttons;
    for (const Command& command : CommandTable::all()) {
        if (command.key != Command::kNoKey) {
            EXPECT_TRUE(keys.insert(command.key).second) << command.keyLabel << " twice";
        }
        if (command.padButton != Command::kNoButton) {
            EXPECT_TRUE(buttons.insert(command.padButton).second) << command.padLabel << " twice";
        }
    }
    const struct {
        int key;
        CommandId id;
    } presses[] = {{GLFW_KEY_R, CommandId::Restart},      {GLFW_KEY_P, CommandId::Pause},
                   {GLFW_KEY_F2, CommandId::FrameRate},   {GLFW_KEY_F10, CommandId::CascadeTint},
                   {GLFW_KEY_F11, CommandId::FullScreen}, {GLFW_KEY_C, CommandId::NextCourse}};
    for (const auto& press : presses) {
        ASSERT_NE(CommandTable::forKey(press.key), nullptr) << press.key;
        EXPECT_EQ(CommandTable::forKey(press.key)->id, press.id) << press.key;
    }
    for (const int polled : {GLFW_KEY_UP, GLFW_KEY_LEFT, GLFW_KEY_Q, Command::kNoKey}) {
        EXPECT_EQ(CommandTable::forKey(polled), nullptr) << polled;
    }
    // The pad's A restarts as R does, its Start pauses as P does.
    ASSERT_NE(CommandTable::forPadButton(GLFW_GAMEPAD_BUTTON_START), nullptr);
    EXPECT_EQ(CommandTable::forPadButton(GLFW_GAMEPAD_BUTTON_START)->id, CommandId::Pause);
    ASSERT_NE(CommandTable::forPadButton(GLFW_GAMEPAD_BUTTON_A), nullptr);
    EXPECT_EQ(CommandTable::forPadButton(GLFW_GAMEPAD_BUTTON_A)->id, CommandId::Restart);
    EXPECT_EQ(CommandTable::forPadButton(GLFW_GAMEPAD_BUTTON_X), nullptr);
}

// --help and the README's controls list the table's commands, in its order: none is left out and
// none is described that the game does not have.
TEST(CommandTable, HelpAndReadmeListEveryCommand) {
    const char* arguments[] = {"skyrings", "--help"};
    const std::string help = common::app::Options::parse(2, arguments).message();
    std::vector<std::string> tableKeys;
    for (const Command& command : CommandTable::all()) {
        const std::string row = std::string(command.keyLabel) + " ";
        EXPECT_NE(help.find(row), std::string::npos) << row;
        EXPECT_NE(help.find(command.help), std::string::npos) << command.help;
        if (command.padLabel) {
            EXPECT_NE(help.find(std::string(command.padLabel) + " " + command.help), std::string::npos)
                << command.padLabel;
        }
        // The README names the arrows as such.
        tableKeys.push_back(command.id == CommandId::Steer ? std::string(command.keyLabel) + " arrow"
                                                           : command.keyLabel);
    }
    EXPECT_EQ(readmeControlKeys(), tableKeys);
}
