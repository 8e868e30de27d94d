#include "progress/SettingsFile.h"

#include <cstdlib>
#include <optional>
#include <system_error>

#include <nlohmann/json.hpp>

#include "progress/AtomicFile.h"
#include "progress/FileLock.h"
#include "progress/PlayerFile.h"

namespace common::progress {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

constexpr struct {
    GhostChoice choice;
    const char* name;
} kGhostNames[] = {{GhostChoice::Off, "off"}, {GhostChoice::MyBest, "mine"}, {GhostChoice::Par, "par"}};

const char* ghostName(GhostChoice choice) {
    for (const auto& entry : kGhostNames) {
        if (entry.choice == choice) {
            return entry.name;
        }
    }
    return "mine";
}

std::optional<GhostChoice> parseGhost(const std::string& name) {
    for (const auto& entry : kGhostNames) {
        if (name == entry.name) {
            return entry.choice;
        }
    }
    return std::nullopt;
}

// The switches stored as true or false, by key.
struct Switch {
    const char* key;
    bool Settings::*field;
};
constexpr Switch kSwitches[] = {
    {"sound", &Settings::sound},
    {"guidance", &Settings::guidance},
    {"invertPitch", &Settings::invertPitch},
    {"fullScreen", &Settings::fullScreen},
    {"showFrameRate", &Settings::showFrameRate},
    {"frameRateHint", &Settings::frameRateHint},
};

}  // namespace

fs::path SettingsFile::pathFor(const char* xdgConfigHome, const char* home) {
    fs::path base;
    if (xdgConfigHome && *xdgConfigHome) {
        base = xdgConfigHome;
    } else if (home && *home) {
        base = fs::path(home) / ".config";
    } else {
        return {};
    }
    return base / "skyrings" / "settings.json";
}

fs::path SettingsFile::defaultPath() {
    return pathFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

SettingsFile::SettingsFile(fs::path file, Warning warning)
    : file_(std::move(file)),
      warning_(std::move(warning)),
      document_(std::make_unique<json>(json::object())) {}

SettingsFile::~SettingsFile() = default;
SettingsFile::SettingsFile(SettingsFile&&) noexcept = default;
SettingsFile& SettingsFile::operator=(SettingsFile&&) noexcept = default;

Settings SettingsFile::load(const Settings& base) {
    *document_ = json::object();
    problems_.clear();
    if (file_.empty()) {
        return base;
    }
    readDocument();
    const Settings settings = readValues(base);
    if (!problems_.empty()) {
        warning_(PlayerFile::problemLine("Settings", file_, problems_) +
                 "; using the defaults for what is bad");
    }
    return settings;
}

void SettingsFile::readDocument() {
    if (std::optional<json> parsed = PlayerFile::readObject(file_, problems_)) {
        *document_ = std::move(*parsed);
    }
}

// Each value the file holds replaces the one in `settings` when it is usable.
Settings SettingsFile::readValues(Settings settings) {
    const json& document = *document_;
    for (const Switch& entry : kSwitches) {
        const auto found = document.find(entry.key);
        if (found == document.end()) {
            continue;
        }
        if (found->is_boolean()) {
            settings.*entry.field = found->get<bool>();
        } else {
            problem(std::string("\"") + entry.key + "\" is not true or false");
        }
    }
    if (const auto found = document.find("quality"); found != document.end()) {
        const auto quality =
            found->is_string() ? app::QualityPreset::parse(found->get<std::string>()) : std::nullopt;
        if (quality) {
            settings.quality = *quality;
        } else {
            problem("\"quality\" is not high, medium or low");
        }
    }
    if (const auto found = document.find("ghost"); found != document.end()) {
        const auto ghost = found->is_string() ? parseGhost(found->get<std::string>()) : std::nullopt;
        if (ghost) {
            settings.ghost = *ghost;
        } else {
            problem("\"ghost\" is not off, mine or par");
        }
    }
    if (const auto found = document.find("volume"); found != document.end()) {
        if (found->is_number_integer() && found->get<long long>() >= 0 &&
            found->get<long long>() <= Settings::kMaxVolume) {
            settings.volume = found->get<int>();
        } else {
            problem("\"volume\" is not a whole number from 0 to " + std::to_string(Settings::kMaxVolume));
        }
    }
    return settings;
}

bool SettingsFile::setBadFileAside() {
    if (const std::optional<std::string> failure = PlayerFile::keepBadFileAside(file_)) {
        warning_("Settings: cannot keep the bad " + file_.string() + " aside (" + *failure +
                 "); the settings are not saved");
        return false;
    }
    return true;
}

bool SettingsFile::save(const Settings& settings) {
    if (file_.empty()) {
        return false;
    }
    json& document = *document_;
    for (const Switch& entry : kSwitches) {
        document[entry.key] = settings.*entry.field;
    }
    document["quality"] = app::QualityPreset::name(settings.quality);
    document["volume"] = settings.volume;
    document["ghost"] = ghostName(settings.ghost);
    try {
        std::error_code error;
        fs::create_directories(file_.parent_path(), error);
        fs::path lockFile = file_;
        lockFile += ".lock";
        const FileLock lock(lockFile);
        if (!problems_.empty() && !setBadFileAside()) {
            return false;
        }
        AtomicFile::removeTemporaries(file_);
        AtomicFile::write(file_, document.dump(2) + "\n");
        problems_.clear();
        return true;
    } catch (const std::exception& failure) {
        // One line for the session: every later change would fail the same way.
        if (!saveFailureTold_) {
            warning_(std::string("Settings: ") + failure.what() + "; the settings are not saved");
            saveFailureTold_ = true;
        }
        return false;
    }
}

}  // namespace common::progress
