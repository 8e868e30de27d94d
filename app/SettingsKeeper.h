#pragma once

#include <filesystem>

#include "progress/Settings.h"
#include "progress/SettingsFile.h"

namespace common::app {

class CommandRunner;
struct Config;

// The player's settings between the game and its settings file (SettingsFile): read once at start
// over what config.txt says (the file wins), brought to the game when the runner exists, and saved at
// once whenever they change, whether through the menu (change()) or through a key or pad button that
// flips one of them (followSwitches(): M, N, G, F2, F11 are remembered like the menu's choices).
class SettingsKeeper {
  public:
    // Reads `file` over the defaults and config.txt's quality and full-screen switch; one warning on
    // standard error when the file is bad.
    SettingsKeeper(const Config& config, std::filesystem::path file = progress::SettingsFile::defaultPath());

    // What the game starts with: the window and the quality are made from these before the runner
    // exists.
    const progress::Settings& wanted() const { return saved_; }
    // From now on the settings act on the game through `commands`; the wanted ones are applied.
    void attach(CommandRunner& commands);
    // The menu's entry: brings the game to `settings` (each change reported as its key reports it)
    // and saves them.
    void change(const progress::Settings& settings);
    // After a command: saves the settings when it changed one of them.
    void followSwitches();
    // The settings as the game has them now.
    progress::Settings current() const;

  private:
    void saveIfChanged(const progress::Settings& now);

    progress::SettingsFile file_;
    // As last read or saved.
    progress::Settings saved_;
    CommandRunner* commands_ = nullptr;
};

}  // namespace common::app
