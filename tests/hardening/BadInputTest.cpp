// config.txt as players leave it: missing, a folder, empty, binary, huge lines, and sizes at the edges of
// what a window can be. The real game on the virtual display must start at a sane size and quit cleanly
// on Escape, never crash or hang. How each line is read is checked without a display (ConfigTest).
//
// A half-copied or damaged resource folder: every file the game reads, missing, empty, cut in half
// and replaced by garbage of the same extension, with the real game on the virtual display. Each
// damage has one defined outcome (runs on, or one clear line and status 255), never a signal or hang.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/GameProcess.h"
#include "tests/support/TestFiles.h"

using testsupport::GameProcess;
using testsupport::stagedResources;

namespace {

constexpr std::size_t kMegabyte = 1 << 20;

struct ConfigCase {
    const char* name;
    std::optional<std::string> text;  // none: no config.txt
    const char* size;
    bool folder = false;  // config.txt is a folder instead of a file
};

// Every window here fits the 1280 x 1024 virtual screen except the one that is meant not to.
const ConfigCase kCases[] = {
    {"Plain", "WIDTH\n1024\nHEIGHT\n768\n", "1024x768"},
    // Nothing usable (empty and binary files: ConfigTest): the default window
    {"Missing", std::nullopt, "800x600"},
    {"FolderInsteadOfFile", std::nullopt, "800x600", true},
    // Very long lines (1 MB)
    {"MegabyteOfDigits", "WIDTH\n" + std::string(kMegabyte, '9') + "\nHEIGHT\n480\n", "800x480"},
    {"MegabyteLineBeforeTheKeys", std::string(kMegabyte, 'x') + "\nWIDTH\n640\nHEIGHT\n480\n", "640x480"},
    {"MegabyteOfBlanksAfterAValue", "WIDTH\n640" + std::string(kMegabyte, ' ') + "\nHEIGHT\n480\n",
     "640x480"},
    {"MegabyteWithoutALineEnd", std::string(kMegabyte, 'W'), "800x600"},
    // Odd but usable sizes are kept
    {"OnePixel", "WIDTH\n1\nHEIGHT\n1\n", "1x1"},
    {"ThinStrip", "WIDTH\n1000\nHEIGHT\n3\n", "1000x3"},
    {"LargerThanTheScreen", "WIDTH\n1600\nHEIGHT\n1200\n", "1600x1200"},
};

void PrintTo(const ConfigCase& config, std::ostream* out) {
    *out << config.name;
}

class BadConfig : public ::testing::TestWithParam<ConfigCase> {};

namespace fs = std::filesystem;

const std::string kCourseList = "courses/courses.json";

const std::vector<std::string> kDamages = {"missing", "empty", "truncated", "garbage"};

// A file damaged, the course the game is started on (none: the default one), and how it is damaged.
struct DamagedFile {
    std::string path;
    const char* argument = nullptr;
    std::vector<std::string> damages = kDamages;
};

void PrintTo(const DamagedFile& file, std::ostream* out) {
    *out << file.path << (file.argument ? std::string(" ") + file.argument : "");
}

// Every file the build staged below resources/ that the game reads at start. The icons are the
// desktop's; of the sounds, each damaged the four ways, one stands here for the real game going on
// (the sound tests damage every one of them). Of courses/, only the course list: the manifest is the
// build's, and the other courses' files are read only when the player switches to them. Started on
// another course, the game reads none of the default course's own files: its height image stands
// for them.
std::vector<DamagedFile> damagedFiles() {
    std::vector<DamagedFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(stagedResources())) {
        const std::string path = fs::relative(entry.path(), stagedResources()).generic_string();
        const bool otherSound = path.rfind("sounds/", 0) == 0 && path != "sounds/chime.wav";
        const bool otherCourseFile = path.rfind("courses/", 0) == 0 && path != kCourseList;
        if (entry.is_regular_file() && path.rfind("icons/", 0) != 0 && !otherSound && !otherCourseFile) {
            files.push_back({path});
        }
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    // The programs' files all go through the same loader and compiler, so each takes one damage in
    // turn, counted by stage so that every damage meets every stage; a file the course started on never
    // reads needs one.
    std::map<std::string, std::size_t> turns;
    for (DamagedFile& file : files) {
        if (file.path.rfind("shaders/", 0) == 0) {
            file.damages = {kDamages[turns[fs::path(file.path).extension()]++ % kDamages.size()]};
        }
    }
    files.push_back({"meshes/heightmap.bmp", "--course=coast", {"garbage"}});
    return files;
}

// Without a usable copy of these the game runs on: a registry program is left out, the rings have
// no parts (or only their full model), a sound stays silent, only the default course is played, or another
// course is. Any other file ends the game with one line on stderr and 255.
bool runsOnWithout(const DamagedFile& file) {
    const std::string& path = file.path;
    return file.argument || path == "meshes/Circle.dae" || path == "meshes/CircleLight.dae" ||
           path.rfind("sounds/", 0) == 0 || path == kCourseList ||
           (path.rfind("shaders/", 0) == 0 && path.find("/textShader/") == std::string::npos);
}

// Removes the file, or leaves it empty, cut in half or as garbage of its size (up to 4 kB).
void damage(const fs::path& file, const std::string& how) {
    std::string bytes = testsupport::readFile(file);
    fs::remove(file);
    if (how == "truncated") {
        bytes.resize(bytes.size() / 2);
    } else if (how == "garbage") {
        std::minstd_rand random(12345);
        bytes.resize(std::min<std::size_t>(bytes.size(), 4096));
        std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random() >> 8); });
    }
    if (how != "missing") {
        std::ofstream(file, std::ios::binary) << (how == "empty" ? "" : bytes);
    }
}

// Runs a few frames with every display switch flipped (the missing program's draws included), quits.
// Only a sound file or the course list says anything on stderr: one line naming it.
void expectRunsAndQuits(GameProcess& game, const std::string& path) {
    ASSERT_TRUE(game.startDrawing());
    for (const char* key : {"F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"}) {
        game.key(key);
    }
    EXPECT_TRUE(game.waitForOutput("Show DepthMapFrustums ON")) << game.out() << game.err();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(game.quit());
    const std::string expectedErr = path.rfind("sounds/", 0) == 0
                                        ? "Could not read sound ../resources/" + path + ": "
                                    : path == kCourseList ? "Course list ../resources/" + path
                                                          : std::string();
    EXPECT_EQ(game.err().substr(0, expectedErr.size()), expectedErr);
    EXPECT_EQ(testsupport::occurrences(game.err(), "\n"), expectedErr.empty() ? 0 : 1) << game.err();
}

void expectFatal(GameProcess& game, const std::string& path) {
    game.start();
    EXPECT_EQ(game.waitForExit(std::chrono::seconds(60)), 255) << game.out() << game.err();
    const std::string err = game.err();
    EXPECT_TRUE(!err.empty() && err.find('\n') == err.size() - 1) << "not one line:\n" << err;
    // The line names the file, or (a compile failure of the text program) the failing stage.
    const std::string stage = path.substr(path.size() - 5) == ".vert" ? "VERTEX: " : "FRAGMENT: ";
    EXPECT_TRUE(err.find(fs::path(path).filename().string()) != std::string::npos || err.rfind(stage, 0) == 0)
        << err;
}

// Both models report their parse failure on standard output first.
void runDamaged(const DamagedFile& file, const std::string& how, GameProcess& game) {
    const std::string& path = file.path;
    const std::string gamePath = "../resources/" + path;
    if (runsOnWithout(file)) {
        expectRunsAndQuits(game, path);
    } else {
        expectFatal(game, path);
    }
    const std::string out = game.out();
    if (path.substr(path.size() - 4) == ".dae") {
        EXPECT_NE(out.find("Error parsing '" + gamePath + "'"), std::string::npos) << out;
    }
    if (file.argument) {
        const std::string course = std::string(file.argument).substr(std::string("--course=").size());
        EXPECT_NE(out.find("Load Scene../resources/courses/" + course + "/"), std::string::npos) << out;
    }
    if (path.rfind("shaders/", 0) == 0 && runsOnWithout(file)) {
        // Reported (open failure, compile or link log), and the other ten programs still load.
        EXPECT_EQ(testsupport::occurrences(out, "Debug: Loaded shader of typ "), 10) << out;
        if (how == "missing") {
            EXPECT_NE(out.find("VERTEX: Impossible to open " + gamePath), std::string::npos) << out;
        }
    }
}

class BadResource : public ::testing::TestWithParam<DamagedFile> {};

}  // namespace

TEST_P(BadConfig, StartsAtASaneSizeAndQuitsCleanly) {
    const ConfigCase& config = GetParam();
    GameProcess game({config.text, true, true});
    if (config.folder) {
        std::filesystem::create_directory(game.runDir() / "config.txt");
    }
    ASSERT_TRUE(game.startDrawing());
    EXPECT_EQ(game.windowSize(), config.size);
    EXPECT_TRUE(game.quit());
    EXPECT_EQ(game.out().rfind("Debug: Renderer created\n", 0), 0u) << game.out();
    EXPECT_EQ(game.err(), "");
    EXPECT_EQ(game.out().find("OpenGL Error: "), std::string::npos) << game.out();
}

INSTANTIATE_TEST_SUITE_P(Hardening, BadConfig, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ConfigCase>& info) { return info.param.name; });

// One copied tree per file, shared by its damages: the file is put back from the stage in between.
TEST_P(BadResource, EveryDamageHasItsOutcome) {
    const DamagedFile& file = GetParam();
    const std::string& path = file.path;
    testsupport::TempDir tree;
    const fs::path resources = tree.path() / "resources";
    fs::copy(stagedResources(), resources, fs::copy_options::recursive);
    for (const std::string& how : file.damages) {
        SCOPED_TRACE(path + " " + how);
        GameProcess game({std::string("WIDTH\n320\nHEIGHT\n240\n"), true, false, file.argument});
        fs::create_directory_symlink(resources, game.resourcesDir());
        damage(resources / path, how);
        runDamaged(file, how, game);
        fs::copy_file(stagedResources() / path, resources / path, fs::copy_options::overwrite_existing);
    }
}

INSTANTIATE_TEST_SUITE_P(Hardening, BadResource, ::testing::ValuesIn(damagedFiles()),
                         [](const ::testing::TestParamInfo<DamagedFile>& info) {
                             std::string name =
                                 info.param.path + (info.param.argument ? info.param.argument : "");
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

// Assimp 5.2.5 crashes on these files instead of refusing them: a failed internal assertion (abort)
// and a read through a null pointer (a value list shorter than its accessor).
const char* const kFilesThatCrashTheImporter[] = {
    R"(<COLLADA><library_geometries><geometry><mesh><polylist count="1"></polylist></mesh></geometry>)"
    R"(</library_geometries></COLLADA>)",
    R"(<COLLADA><library_geometries><geometry id="g"><mesh><source id="p">)"
    R"(<float_array id="pa" count="0">0 0 0 1 0 0 0 1 0</float_array><technique_common>)"
    R"(<accessor source="#pa" count="3" stride="3"><param name="X" type="float"/>)"
    R"(<param name="Y" type="float"/><param name="Z" type="float"/></accessor></technique_common></source>)"
    R"(<vertices id="v"><input semantic="POSITION" source="#p"/></vertices><triangles count="1">)"
    R"(<input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2</p></triangles></mesh></geometry>)"
    R"(</library_geometries></COLLADA>)",
};

TEST(BadModel, AnImporterCrashEndsWithOneLineNamingTheFile) {
    for (const char* model : {"meshes/low_res_Mountain/mountain_player.dae", "meshes/Circle.dae"}) {
        for (const char* contents : kFilesThatCrashTheImporter) {
            SCOPED_TRACE(std::string(model) + "\n" + contents);
            GameProcess game({std::string("WIDTH\n320\nHEIGHT\n240\n"), true, false});
            game.copyResources();
            std::ofstream(game.resourcesDir() / model, std::ios::binary | std::ios::trunc) << contents;
            game.start();
            EXPECT_EQ(game.waitForExit(std::chrono::seconds(60)), 255) << game.out();
            EXPECT_EQ(game.err(), "Could not read '../resources/" + std::string(model) +
                                      "': the model importer crashed\n");
        }
    }
}
