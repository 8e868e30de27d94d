#include "progress/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "tests/support/TestFiles.h"

using namespace common::progress;
using common::app::Quality;
using nlohmann::json;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A settings file in a temporary config folder, with its warnings kept.
struct SettingsHome {
    TempDir home;
    fs::path file = home.path() / "skyrings" / "settings.json";
    std::vector<std::string> warnings;

    SettingsFile open() {
        return SettingsFile(file, [this](const std::string& line) { warnings.push_back(line); });
    }
    Settings load(const Settings& base = {}) { return open().load(base); }
    fs::path bad() const { return fs::path(file.string() + ".bad"); }
    json written() const { return json::parse(readFile(file)); }
};

Settings everythingChanged() {
    Settings changed;
    changed.quality = Quality::Low;
    changed.sound = false;
    changed.volume = 35;
    changed.guidance = false;
    changed.ghost = GhostChoice::Par;
    changed.invertPitch = true;
    changed.fullScreen = true;
    changed.showFrameRate = true;
    changed.frameRateHint = false;
    return changed;
}

}  // namespace

TEST(SettingsFile, LivesUnderXdgConfigHomeOrTheHomeFolder) {
    EXPECT_EQ(SettingsFile::pathFor("/cfg", "/home/p"), fs::path("/cfg/skyrings/settings.json"));
    EXPECT_EQ(SettingsFile::pathFor("", "/home/p"), fs::path("/home/p/.config/skyrings/settings.json"));
    EXPECT_EQ(SettingsFile::pathFor(nullptr, nullptr), fs::path());
}

// Every setting away from its default survives a save into a missing folder and a fresh load; the
// file is the documented object; a missing file is the base as given, quietly.
TEST(SettingsFile, RoundTripThroughTheFile) {
    SettingsHome settings;
    Settings base;
    base.quality = Quality::Medium;  // as config.txt may say
    EXPECT_EQ(settings.load(base), base);
    EXPECT_FALSE(fs::exists(settings.file));

    ASSERT_TRUE(settings.open().save(everythingChanged()));
    EXPECT_EQ(settings.load(base), everythingChanged());
    const json written = settings.written();
    EXPECT_EQ(written["quality"], "low");
    EXPECT_EQ(written["ghost"], "par");
    EXPECT_EQ(written["volume"], 35);
    EXPECT_EQ(written["sound"], false);
    EXPECT_TRUE(settings.warnings.empty());
    EXPECT_FALSE(fs::exists(settings.bad()));
}

// Whatever is wrong with the file: one warning, the base for what is bad and the file's word for the
// rest, the bad file kept aside whole at the next save, which writes a good file keeping the keys
// this game does not know.
TEST(SettingsFile, DamagedFilesCostOnlyWhatIsBad) {
    struct Case {
        const char* what;
        const char* text;  // null: a folder stands in the file's place
        Settings expected;
    };
    Settings muted;
    muted.sound = false;
    Settings lowQuietPar;
    lowQuietPar.quality = Quality::Low;
    lowQuietPar.ghost = GhostChoice::Par;
    const Case cases[] = {
        {"not JSON", "{\"sound\": false,", Settings{}},
        {"not an object", "[false, 35]", Settings{}},
        {"a folder in its place", nullptr, Settings{}},
        {"wrong types", R"({"sound": "no", "volume": "35", "quality": 1, "ghost": true, "guidance": 0})",
         Settings{}},
        {"out of range, the rest kept",
         R"({"sound": false, "volume": 101, "quality": "ultra", "ghost": "theirs"})", muted},
        {"a negative volume", R"({"volume": -1, "sound": false})", muted},
        {"a fractional volume", R"({"volume": 50.5, "sound": false})", muted},
        {"unknown keys next to a bad one",
         R"({"theme": "dusk", "quality": "low", "ghost": "par", "invertPitch": null})", lowQuietPar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsHome settings;
        if (c.text) {
            settings.home.write("skyrings/settings.json", c.text);
        } else {
            fs::create_directories(settings.file / "inside");
        }
        SettingsFile file = settings.open();
        EXPECT_EQ(file.load({}), c.expected);
        ASSERT_EQ(settings.warnings.size(), 1u);
        EXPECT_NE(settings.warnings[0].find(settings.file.string()), std::string::npos)
            << settings.warnings[0];

        ASSERT_TRUE(file.save(c.expected));
        if (c.text) {
            EXPECT_EQ(readFile(settings.bad()), c.text);
        } else {
            EXPECT_TRUE(fs::is_directory(settings.bad() / "inside"));
        }
        EXPECT_EQ(settings.load({}), c.expected);
        EXPECT_EQ(settings.warnings.size(), 1u);
        if (std::string(c.what).find("unknown") != std::string::npos) {
            EXPECT_EQ(settings.written()["theme"], "dusk");
        }
    }
}

// A good file's unknown keys survive, and a second save leaves no ".bad" behind.
TEST(SettingsFile, UnknownKeysOfAGoodFileAreKept) {
    SettingsHome settings;
    settings.home.write("skyrings/settings.json", R"({"sound": false, "theme": {"sky": "dusk"}})");
    SettingsFile file = settings.open();
    Settings loaded = file.load({});
    EXPECT_FALSE(loaded.sound);
    loaded.volume = 20;
    ASSERT_TRUE(file.save(loaded));
    EXPECT_EQ(settings.written()["theme"]["sky"], "dusk");
    EXPECT_EQ(settings.written()["volume"], 20);
    EXPECT_TRUE(settings.warnings.empty());
    EXPECT_FALSE(fs::exists(settings.bad()));
}

// A folder that cannot be written (read-only, or a file where it should be) costs the saves, one
// line for all of them, and nothing else: a file there is untouched and still loads.
TEST(SettingsFile, AFolderThatCannotBeWrittenCostsOnlyTheSave) {
    SettingsHome readOnly;
    readOnly.home.write("skyrings/settings.json", R"({"volume": 40})");
    fs::permissions(readOnly.file.parent_path(), fs::perms::owner_write, fs::perm_options::remove);
    SettingsHome blocked;
    blocked.home.write("skyrings", "a file, not a folder");
    for (SettingsHome* settings : {&blocked, &readOnly}) {
        if (settings == &readOnly && geteuid() == 0) {
            GTEST_SKIP() << "the superuser writes into read-only folders";
        }
        SettingsFile file = settings->open();
        Settings loaded = file.load({});
        const int before = loaded.volume;
        loaded.volume = 10;
        EXPECT_FALSE(file.save(loaded));
        EXPECT_FALSE(file.save(loaded));
        EXPECT_EQ(settings->warnings.size(), 1u);
        EXPECT_EQ(settings->load({}).volume, before);
    }
    fs::permissions(readOnly.file.parent_path(), fs::perms::owner_write, fs::perm_options::add);
}
