// A half-copied or damaged resource folder: every file the game reads, missing, empty, cut in half
// and replaced by garbage of the same extension, with the real game on the virtual display. Each
// damage has one defined outcome (runs on, or one clear line and status 255), never a signal or hang.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/hardening/GameRun.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestFiles.h"

using testsupport::GameProcess;

namespace {

namespace fs = std::filesystem;

// What the game does when the file is unusable.
enum class Outcome {
    RunsWithoutTheProgram,  // shader registry: prints the failure and goes on without that program
    RunsWithoutRingParts,   // ring model: "Error parsing ..." and rings without parts
    SceneRefused,           // scene file: "Error parsing ..." then one line on stderr, status 255
    StartUpFails,           // textures, height image, text shader: one line on stderr, status 255
};

struct ResourceCase {
    const char* path;  // below resources/
    Outcome outcome;
    const char* program = "";  // the shader type a registry file belongs to
};

enum class Damage { Missing, Empty, Truncated, Garbage };
const Damage kDamages[] = {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Garbage};

const char* damageName(Damage damage) {
    switch (damage) {
        case Damage::Missing:
            return "missing";
        case Damage::Empty:
            return "empty";
        case Damage::Truncated:
            return "truncated";
        case Damage::Garbage:
            return "garbage";
    }
    return "?";
}

constexpr Outcome kShader = Outcome::RunsWithoutTheProgram;
constexpr Outcome kFatal = Outcome::StartUpFails;

const ResourceCase kCases[] = {
    {"shaders/colorShader/SimpleTransform.vert", kShader, "ColorShader"},
    {"shaders/colorShader/SimpleColor.frag", kShader, "ColorShader"},
    {"shaders/colorShader/SimpleTransformRed.vert", kShader, "ColorShaderRed"},
    {"shaders/colorShader/SimpleColorRed.frag", kShader, "ColorShaderRed"},
    {"shaders/lightShader/SimpleLightVertexShader.vert", kShader, "LightShader"},
    {"shaders/lightShader/SimpleLightFragmentShader.frag", kShader, "LightShader"},
    {"shaders/textureShader/DefaultVertexShader.vert", kShader, "TextureShader"},
    {"shaders/textureShader/DefaultFragmentShader.frag", kShader, "TextureShader"},
    {"shaders/shadowShader/DepthVertexShader.vert", kShader, "ShadowDepthShader"},
    {"shaders/shadowShader/DepthFragmentShader.frag", kShader, "ShadowDepthShader"},
    {"shaders/shadowShader/ShadowVertexShader.vert", kShader, "ShadowShader"},
    {"shaders/shadowShader/ShadowFragmentShader.frag", kShader, "ShadowShader"},
    {"shaders/blurShader/BlurVertexShader.vert", kShader, "BlurShader"},
    {"shaders/blurShader/BlurFragmentShader.frag", kShader, "BlurShader"},
    {"shaders/transparentShader/SimpleTransparentVertexShader.vert", kShader, "TransparentShader"},
    {"shaders/transparentShader/SimpleTransparentFragmentShader.frag", kShader, "TransparentShader"},
    {"shaders/quadShader/vertex.vert", kShader, "QuadShader"},
    {"shaders/quadShader/fragment.frag", kShader, "QuadShader"},
    {"shaders/showVelocityMapShader/vertex.vert", kShader, "ShowVelocityMapShader"},
    {"shaders/showVelocityMapShader/fragment.frag", kShader, "ShowVelocityMapShader"},
    {"shaders/arrowShader/vertex.vert", kShader, "ArrowShader"},
    {"shaders/arrowShader/fragment.frag", kShader, "ArrowShader"},
    {"shaders/textShader/TextVertexShader.vert", kFatal},
    {"shaders/textShader/TextFragmentShader.frag", kFatal},
    {"textures/font.png", kFatal},
    {"textures/altimeter.png", kFatal},
    {"textures/arrow.png", kFatal},
    {"textures/score.png", kFatal},
    {"textures/warn.png", kFatal},
    {"meshes/heightmap.bmp", kFatal},
    {"meshes/low_res_Mountain/mountain_player.dae", Outcome::SceneRefused},
    {"meshes/low_res_Mountain/craft.png", kFatal},
    {"meshes/low_res_Mountain/disc.png", kFatal},
    {"meshes/low_res_Mountain/sky.png", kFatal},
    {"meshes/low_res_Mountain/terrain.png", kFatal},
    {"meshes/low_res_Mountain/water.png", kFatal},
    {"meshes/Circle.dae", Outcome::RunsWithoutRingParts},
    {"meshes/ring.png", kFatal},
};

fs::path stagedResources() {
    return fs::path(SKYRINGS_STAGE_DIR) / "resources";
}

std::string garbage(std::size_t size) {
    std::string bytes;
    unsigned state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 16);
    }
    return bytes;
}

void damage(const fs::path& file, Damage how) {
    const std::string original = testsupport::readFile(file);
    fs::remove(file);
    if (how == Damage::Missing) {
        return;
    }
    std::ofstream out(file, std::ios::binary);
    if (how == Damage::Truncated) {
        out << original.substr(0, original.size() / 2);
    } else if (how == Damage::Garbage) {
        out << garbage(std::min<std::size_t>(original.size(), 4096));
    }
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

bool isOneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

// The stage label a compile failure of this file carries.
std::string stageLabel(const std::string& path) {
    return path.substr(path.size() - 5) == ".vert" ? "VERTEX: " : "FRAGMENT: ";
}

// Runs a few frames with every display switch flipped (the missing program's draws included), quits.
void expectRunsAndQuits(GameProcess& game) {
    const std::string window = game.waitForWindow();
    ASSERT_FALSE(window.empty()) << "status " << game.waitForExit() << "\n" << game.err();
    ASSERT_TRUE(game.waitForFirstFrame()) << game.out() << game.err();
    for (const char* key : {"F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"}) {
        hardening::pressKey(window, key);
    }
    EXPECT_TRUE(game.waitForOutput("Show DepthMapFrustums ON")) << game.out() << game.err();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    hardening::pressKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(), 0) << game.err();
    EXPECT_EQ(game.err(), "");
}

void expectFatal(GameProcess& game, const std::string& path) {
    EXPECT_EQ(game.waitForExit(std::chrono::seconds(60)), 255) << game.out() << game.err();
    const std::string err = game.err();
    EXPECT_TRUE(isOneLine(err)) << "standard error:\n" << err;
    // The line names the file, or (a compile failure of the text program) the failing stage.
    const std::string name = fs::path(path).filename().string();
    EXPECT_TRUE(err.find(name) != std::string::npos || err.rfind(stageLabel(path), 0) == 0) << err;
}

void runDamaged(const ResourceCase& resource, Damage how, GameProcess& game) {
    const std::string path = resource.path;
    const std::string gamePath = "../resources/" + path;
    game.start();
    switch (resource.outcome) {
        case Outcome::RunsWithoutTheProgram: {
            expectRunsAndQuits(game);
            const std::string out = game.out();
            // Reported (open failure, compile or link log), and the other programs still load.
            EXPECT_EQ(out.find(std::string("Loaded shader of typ ") + resource.program + "\n"),
                      std::string::npos)
                << out;
            EXPECT_EQ(countOf(out, "Debug: Loaded shader of typ "), 10) << out;
            if (how == Damage::Missing) {
                EXPECT_NE(out.find("VERTEX: Impossible to open " + gamePath), std::string::npos) << out;
            }
            break;
        }
        case Outcome::RunsWithoutRingParts:
            expectRunsAndQuits(game);
            EXPECT_NE(game.out().find("Error parsing '" + gamePath + "'"), std::string::npos) << game.out();
            break;
        case Outcome::SceneRefused:
            EXPECT_NE(game.waitForExit(std::chrono::seconds(60)), -1);
            EXPECT_NE(game.out().find("Error parsing '" + gamePath + "'"), std::string::npos) << game.out();
            expectFatal(game, path);
            break;
        case Outcome::StartUpFails:
            expectFatal(game, path);
            break;
    }
}

void PrintTo(const ResourceCase& resource, std::ostream* out) {
    *out << resource.path;
}

class BadResource : public ::testing::TestWithParam<ResourceCase> {};

}  // namespace

// One copied tree per file, shared by its damages: the file is put back from the stage in between.
TEST_P(BadResource, EveryDamageHasItsOutcome) {
    const ResourceCase& resource = GetParam();
    testsupport::TempDir tree;
    const fs::path resources = tree.path() / "resources";
    fs::copy(stagedResources(), resources, fs::copy_options::recursive);
    for (Damage how : kDamages) {
        SCOPED_TRACE(std::string(resource.path) + " " + damageName(how));
        GameProcess game({std::string("WIDTH\n320\nHEIGHT\n240\n"), true, false});
        fs::create_directory_symlink(resources, game.resourcesDir());
        damage(resources / resource.path, how);
        runDamaged(resource, how, game);
        fs::copy_file(stagedResources() / resource.path, resources / resource.path,
                      fs::copy_options::overwrite_existing);
    }
}

INSTANTIATE_TEST_SUITE_P(Hardening, BadResource, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ResourceCase>& info) {
                             std::string name = info.param.path;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

// A file the generator starts to write must get its row in the table above.
TEST(BadResourceTable, CoversEveryStagedFile) {
    std::set<std::string> listed;
    for (const ResourceCase& resource : kCases) {
        listed.insert(resource.path);
    }
    std::set<std::string> staged;
    for (const auto& entry : fs::recursive_directory_iterator(stagedResources())) {
        if (entry.is_regular_file()) {
            staged.insert(fs::relative(entry.path(), stagedResources()).generic_string());
        }
    }
    EXPECT_EQ(listed, staged);
}

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
