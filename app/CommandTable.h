#pragma once

#include <string>
#include <vector>

namespace common::app {

// Everything a player can ask of the running game.
enum class CommandId {
    Steer,  // the arrows (or the pad's stick and d-pad), polled every frame
    Restart,
    NextCourse,
    Mute,
    Pause,
    // In the menu only (the menu reads its keys itself): choose, and back one screen.
    MenuChoose,
    MenuBack,
    Ghost,
    Guidance,
    FullScreen,
    FrameRate,
    Wireframe,
    TextureFilter,
    Mipmaps,
    DebugView,
    Blur,
    Culling,
    Transparency,
    CascadeTint,
    Quit,  // the frame loop watches Escape itself
};

// One row of the controls: the key (GLFW key code, kNoKey for keys that are polled rather than
// pressed), the pad button that does the same (GLFW gamepad button, kNoButton for none), and the
// labels and help text that `--help`, the manual and the README show.
struct Command {
    static constexpr int kNoKey = -1;
    static constexpr int kNoButton = -1;

    CommandId id;
    int key;
    const char* keyLabel;
    int padButton;
    const char* padLabel;
    const char* help;
};

// The one list of the game's controls. The key handler dispatches through it, the pad's buttons are
// read through it and `--help` prints it, so a command added here reaches all three. GL-free.
class CommandTable {
  public:
    // Every command, in the order the help shows them.
    static const std::vector<Command>& all();
    // The command a key press runs; null for keys that run none (or are polled, as the arrows).
    static const Command* forKey(int key);
    // The command a pad button runs; null for buttons that run none.
    static const Command* forPadButton(int button);
    // The command list as `--help` prints it: one line per command, then the pad's buttons.
    static std::string helpText();
};

}  // namespace common::app
