#include "app/CommandTable.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace common::app {

const std::vector<Command>& CommandTable::all() {
    constexpr int kNoKey = Command::kNoKey;
    constexpr int kNoButton = Command::kNoButton;
    static const std::vector<Command> commands = {
        {CommandId::Steer, kNoKey, "Up / Down", kNoButton, nullptr, "nose down / nose up"},
        {CommandId::Steer, kNoKey, "Left / Right", kNoButton, nullptr, "roll left / right"},
        {CommandId::Restart, GLFW_KEY_R, "R", GLFW_GAMEPAD_BUTTON_A, "A", "restart"},
        {CommandId::NextCourse, GLFW_KEY_C, "C", kNoButton, nullptr, "next course"},
        {CommandId::Mute, GLFW_KEY_M, "M", kNoButton, nullptr, "sound off / on"},
        {CommandId::Pause, GLFW_KEY_P, "P", GLFW_GAMEPAD_BUTTON_START, "Start", "pause / go on"},
        {CommandId::MenuChoose, kNoKey, "Return", kNoButton, nullptr, "in the menu: choose (pad A)"},
        {CommandId::MenuBack, kNoKey, "Backspace", kNoButton, nullptr, "in the menu: back one level (pad B)"},
        {CommandId::Ghost, GLFW_KEY_G, "G", kNoButton, nullptr, "ghost of the best run on / off"},
        {CommandId::Guidance, GLFW_KEY_N, "N", kNoButton, nullptr, "guidance to the next ring on / off"},
        {CommandId::FullScreen, GLFW_KEY_F11, "F11", kNoButton, nullptr, "full screen and back"},
        {CommandId::FrameRate, GLFW_KEY_F2, "F2", kNoButton, nullptr,
         "average frame rate and triangle count"},
        {CommandId::Wireframe, GLFW_KEY_F3, "F3", kNoButton, nullptr, "wireframe with bounding boxes"},
        {CommandId::TextureFilter, GLFW_KEY_F4, "F4", kNoButton, nullptr,
         "bilinear / nearest texture filter"},
        {CommandId::Mipmaps, GLFW_KEY_F5, "F5", kNoButton, nullptr, "mipmaps: off, nearest, linear"},
        {CommandId::DebugView, GLFW_KEY_F6, "F6", kNoButton, nullptr,
         "debug view: velocity and shadow-map previews"},
        {CommandId::Blur, GLFW_KEY_F7, "F7", kNoButton, nullptr, "motion blur on / off"},
        {CommandId::Culling, GLFW_KEY_F8, "F8", kNoButton, nullptr, "frustum culling on / off"},
        {CommandId::Transparency, GLFW_KEY_F9, "F9", kNoButton, nullptr, "transparent ring discs on / off"},
        {CommandId::CascadeTint, GLFW_KEY_F10, "F10", kNoButton, nullptr, "tint the shadow cascades"},
        {CommandId::Quit, GLFW_KEY_ESCAPE, "Escape", kNoButton, nullptr, "quit"},
    };
    return commands;
}

namespace {

// The command whose `field` (its key or its pad button) is `value`; none for the "none" marker.
const Command* findBy(int Command::*field, int value) {
    static_assert(Command::kNoKey == Command::kNoButton, "one marker for both");
    if (value == Command::kNoKey) {
        return nullptr;
    }
    const std::vector<Command>& commands = CommandTable::all();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const Command& command) { return command.*field == value; });
    return found == commands.end() ? nullptr : &*found;
}

}  // namespace

const Command* CommandTable::forKey(int key) {
    return findBy(&Command::key, key);
}

const Command* CommandTable::forPadButton(int button) {
    return findBy(&Command::padButton, button);
}

std::string CommandTable::helpText() {
    std::ostringstream text;
    text << "Keys:\n";
    std::string buttons;
    for (const Command& command : all()) {
        text << "  " << std::left << std::setw(15) << command.keyLabel << command.help << "\n";
        if (command.padLabel) {
            buttons += std::string(", ") + command.padLabel + " " + (command.help);
        }
    }
    text << "A gamepad: the left stick or the d-pad steers" << buttons << ".";
    return text.str();
}

}  // namespace common::app
