// The generator as the build runs it: output location, determinism, silence and failure reporting.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "tests/support/TestFiles.h"

namespace {

struct GeneratorRun {
    int status;
    std::string out;
    std::string err;
};

// Runs the generator with `arguments` (shell words) and reads what it printed.
GeneratorRun runGenerator(const std::string& arguments) {
    testsupport::TempDir logs;
    const std::string out = (logs.path() / "stdout.txt").string();
    const std::string err = (logs.path() / "stderr.txt").string();
    const int status = std::system(
        ("'" SKYRINGS_ASSETGEN_BINARY "' " + arguments + " >'" + out + "' 2>'" + err + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::readFile(out),
            testsupport::readFile(err)};
}

// Every file under `root` by its path relative to it, with a hash of its bytes.
std::map<std::string, std::size_t> readTree(const std::filesystem::path& root) {
    std::map<std::string, std::size_t> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[std::filesystem::relative(entry.path(), root).generic_string()] =
                std::hash<std::string>()(testsupport::readFile(entry.path()));
        }
    }
    return files;
}

}  // namespace

// What each file holds is checked by the tests of the files themselves. A folder that cannot be made
// (a plain file stands where it should go) fails with one line on standard error; without an output
// folder the generator explains its usage.
TEST(AssetGenerator, TwoRunsWriteTheSameBytesAndPrintNothingAndFailuresAreOneLine) {
    testsupport::TempDir first;
    testsupport::TempDir second;
    const GeneratorRun a = runGenerator("'" + (first.path() / "resources").string() + "'");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out + a.err, "");
    ASSERT_EQ(runGenerator("'" + (second.path() / "resources").string() + "'").status, 0);
    const auto files = readTree(first.path() / "resources");
    // At least the height image, two models, six textures and five HUD pictures.
    EXPECT_GE(files.size(), 14u);
    EXPECT_EQ(readTree(second.path() / "resources"), files);

    const std::filesystem::path blocker = first.write("blocker", "not a folder");
    const GeneratorRun blocked = runGenerator("'" + (blocker / "resources").string() + "'");
    EXPECT_NE(blocked.status, 0);
    EXPECT_EQ(blocked.out, "");
    EXPECT_TRUE(!blocked.err.empty() && blocked.err.find('\n') == blocked.err.size() - 1) << blocked.err;

    const GeneratorRun bare = runGenerator("");
    EXPECT_GT(bare.status, 0);
    EXPECT_NE(bare.err.find("usage"), std::string::npos) << bare.err;
}
