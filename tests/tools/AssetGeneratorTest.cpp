// The generator as the build runs it: output location, determinism, silence and failure reporting.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "tests/support/TestFiles.h"

namespace {

struct GeneratorRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the generator on `outputDir` (no argument when empty); its output goes to files in `logDir`.
GeneratorRun runGenerator(const std::filesystem::path& outputDir, const std::filesystem::path& logDir) {
    const std::filesystem::path out = logDir / "stdout.txt";
    const std::filesystem::path err = logDir / "stderr.txt";
    std::string command = std::string("\"") + SKYRINGS_ASSETGEN_BINARY + "\"";
    if (!outputDir.empty()) {
        command += " \"" + outputDir.string() + "\"";
    }
    command += " >\"" + out.string() + "\" 2>\"" + err.string() + "\"";
    const int status = std::system(command.c_str());
    GeneratorRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = testsupport::readFile(out);
    run.err = testsupport::readFile(err);
    return run;
}

// Every file under `root`, by its path relative to it.
std::map<std::string, std::string> readTree(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), root).generic_string()] =
                testsupport::readFile(entry.path());
        }
    }
    return files;
}

}  // namespace

TEST(AssetGenerator, TwoRunsWriteTheSameBytesAndPrintNothing) {
    testsupport::TempDir first;
    testsupport::TempDir second;
    testsupport::TempDir logs;
    const GeneratorRun a = runGenerator(first.path() / "resources", logs.path());
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, "");
    EXPECT_EQ(a.err, "");
    const GeneratorRun b = runGenerator(second.path() / "resources", logs.path());
    ASSERT_EQ(b.status, 0) << b.err;

    const auto filesA = readTree(first.path() / "resources");
    const auto filesB = readTree(second.path() / "resources");
    ASSERT_EQ(filesA.size(), filesB.size());
    for (const auto& [name, bytes] : filesA) {
        const auto other = filesB.find(name);
        ASSERT_NE(other, filesB.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }

    // Everything the game opens is there.
    for (const char* name :
         {"meshes/heightmap.bmp", "meshes/Circle.dae", "meshes/low_res_Mountain/mountain_player.dae",
          "textures/font.png", "textures/altimeter.png", "textures/arrow.png", "textures/score.png",
          "textures/warn.png", "sounds/engine.wav", "sounds/wind.wav", "sounds/chime.wav",
          "sounds/fanfare.wav", "sounds/crash.wav", "sounds/beep.wav", "sounds/go.wav"}) {
        EXPECT_EQ(filesA.count(name), 1u) << name;
    }
}

TEST(AssetGenerator, AFolderThatCannotBeMadeFailsWithOneLineOnStandardError) {
    testsupport::TempDir scratch;
    // A plain file where a folder should go.
    const std::filesystem::path blocker = scratch.write("blocker", "not a folder");
    const GeneratorRun run = runGenerator(blocker / "resources", scratch.path());
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

TEST(AssetGenerator, WithoutAnOutputFolderItExplainsItsUsage) {
    testsupport::TempDir scratch;
    const GeneratorRun run = runGenerator({}, scratch.path());
    EXPECT_GT(run.status, 0);
    EXPECT_NE(run.err.find("usage"), std::string::npos) << run.err;
}
