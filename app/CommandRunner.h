#pragma once

#include <string>

#include "app/CommandTable.h"
#include "progress/Settings.h"

namespace common::scene {
class SceneController;
}

namespace common::app {

class GameSession;
class GameWindow;
class Renderer;

// What each command of the CommandTable does to the running game: the drawing switches are the
// renderer's, the game's commands (restart, course, sound, pause, ghost, guidance) its session's.
// Every change is reported on the console as it happens.
class CommandRunner {
  public:
    CommandRunner(Renderer& renderer, GameSession& session, GameWindow& window, scene::SceneController& scene)
        : renderer_(renderer), session_(session), window_(window), scene_(scene) {}

    void run(CommandId command);
    // Brings the switches to `wanted` by running the command of each one that differs, so every
    // change is reported as its key reports it.
    // Quality, volume, the ghost's choice and inverted pitch, which no key switches, change with a line
    // of their own.
    void applySettings(const progress::Settings& wanted);
    // The switches as they are now, as settings.
    progress::Settings currentSettings() const;
    // The texture switches the player chose, for the objects a course load has just made (they start
    // with the default filtering).
    void applyTextureSwitches();
    // The course of that name, from its countdown, as C loads the next one.
    void loadCourse(const std::string& name);

  private:
    void applyUnkeyedSettings(const progress::Settings& wanted);
    void runGameCommand(CommandId command);
    void runDrawingCommand(CommandId command);
    void switchCourse();
    void toggleFullScreen();
    void toggleWireframe();
    void toggleTextureFilter();
    void cycleMipmapMode();

    Renderer& renderer_;
    GameSession& session_;
    GameWindow& window_;
    scene::SceneController& scene_;
};

}  // namespace common::app
