#include "app/SettingsKeeper.h"

#include <utility>

#include "app/CommandRunner.h"
#include "app/Config.h"
#include "app/Logger.h"

namespace common::app {
namespace {

progress::Settings fromConfig(const Config& config) {
    progress::Settings settings;
    settings.quality = config.quality;
    settings.fullScreen = config.fullscreen;
    return settings;
}

}  // namespace

SettingsKeeper::SettingsKeeper(const Config& config, std::filesystem::path file)
    : file_(std::move(file), [](const std::string& line) { Logger::instance().warning(line); }) {
    saved_ = file_.load(fromConfig(config));
}

// The window and its targets were made for the quality in effect (the saved one, unless the caller
// asked for another); everything else is brought to the saved settings now.
void SettingsKeeper::attach(CommandRunner& commands) {
    commands_ = &commands;
    progress::Settings start = saved_;
    start.quality = commands.currentSettings().quality;
    commands_->applySettings(start);
}

void SettingsKeeper::change(const progress::Settings& settings) {
    if (commands_) {
        commands_->applySettings(settings);
    }
    saveIfChanged(current());
}

void SettingsKeeper::followSwitches() {
    saveIfChanged(current());
}

progress::Settings SettingsKeeper::current() const {
    return commands_ ? commands_->currentSettings() : saved_;
}

// Nothing is written while nothing changed: a game that is only played leaves no file behind.
void SettingsKeeper::saveIfChanged(const progress::Settings& now) {
    if (now == saved_) {
        return;
    }
    saved_ = now;
    file_.save(saved_);
}

}  // namespace common::app
