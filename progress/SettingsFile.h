#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "progress/Settings.h"

namespace common::progress {

// The player's settings between games, one JSON object:
//   {"quality": "high" | "medium" | "low", "sound": bool, "volume": 0..100, "guidance": bool,
//    "ghost": "off" | "mine" | "par", "invertPitch": bool, "fullScreen": bool,
//    "showFrameRate": bool, "frameRateHint": bool}
// ("mine": the player's best run on the course; "par": the autopilot's par flight.) Every key is
// optional: what the file does not say stays as the game starts without it. Keys it does not know are
// kept when the file is rewritten. A bad file never costs the game: what cannot be used (not JSON, not
// an object, a wrong type, a value out of range, a folder in the file's place) is reported in one
// warning and left at its default, and the bad file is kept aside as "settings.json.bad" before the
// next save replaces it. Saves are atomic (AtomicFile) and made under a lock ("settings.json.lock"),
// so two games saving at once leave one whole file; a folder that cannot be written costs the save
// only, with one warning.
class SettingsFile {
  public:
    using Warning = std::function<void(const std::string&)>;

    // $XDG_CONFIG_HOME/skyrings/settings.json, or ~/.config/skyrings/settings.json when the variable
    // is unset or empty; empty when there is no home either (settings are then not kept).
    static std::filesystem::path pathFor(const char* xdgConfigHome, const char* home);
    static std::filesystem::path defaultPath();

    SettingsFile(std::filesystem::path file, Warning warning);
    ~SettingsFile();
    SettingsFile(SettingsFile&&) noexcept;
    SettingsFile& operator=(SettingsFile&&) noexcept;

    // `base` with what the file says over it (the file wins); a missing file is `base` unchanged and
    // no warning.
    Settings load(const Settings& base);
    // Writes every setting, keeping the keys the file held that this game does not know. False, with
    // one warning, when it cannot be written.
    bool save(const Settings& settings);

    const std::filesystem::path& path() const { return file_; }

  private:
    void readDocument();
    Settings readValues(Settings settings);
    bool setBadFileAside();
    void problem(const std::string& what) { problems_.push_back(what); }

    std::filesystem::path file_;
    Warning warning_;
    std::unique_ptr<nlohmann::json> document_;
    // What was wrong with the file as read; it goes aside before it is replaced.
    std::vector<std::string> problems_;
    bool saveFailureTold_ = false;
};

}  // namespace common::progress
