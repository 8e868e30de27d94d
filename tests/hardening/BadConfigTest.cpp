// config.txt as players leave it: empty, binary, absurd or missing values, foreign line ends, huge
// lines. The real game on the virtual display must start at a sane size and quit cleanly on Escape,
// never crash or hang.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/hardening/GameRun.h"
#include "tests/support/GameProcess.h"

using testsupport::GameProcess;

namespace {

constexpr std::size_t kMegabyte = 1 << 20;

struct ConfigCase {
    const char* name;
    std::optional<std::string> text;  // none: config.txt is a folder instead of a file
    int width;
    int height;
};

std::string binaryGarbage() {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes += static_cast<char>((i * 131 + 7) & 0xff);
    }
    return bytes + std::string("\0WIDTH\n\0\n640\n", 13);
}

// Every window here fits the 1280 x 1024 virtual screen except the one that is meant not to.
const ConfigCase kCases[] = {
    // Nothing usable: the default window
    {"Empty", std::string(), 800, 600},
    {"BinaryGarbage", binaryGarbage(), 800, 600},
    {"FolderInsteadOfFile", std::nullopt, 800, 600},
    {"OnlyUnknownWords", std::string("width\n640\nWIDTH \n640\n# HEIGHT\n480\n"), 800, 600},
    // Sizes no window can have fall back to the default
    {"HugeSizes", std::string("WIDTH\n100000\nHEIGHT\n100000\n"), 800, 600},
    {"JustAboveTheLargestSize", std::string("WIDTH\n16385\nHEIGHT\n480\n"), 800, 480},
    {"NegativeSizes", std::string("WIDTH\n-640\nHEIGHT\n-480\n"), 800, 600},
    {"ZeroSizes", std::string("WIDTH\n0\nHEIGHT\n0\n"), 800, 600},
    {"SizesBeyond32Bits", std::string("WIDTH\n4294967936\nHEIGHT\n-99999999999999999999\n"), 800, 600},
    {"NoNumberInTheValueLines", std::string("WIDTH\npx640\nHEIGHT\n\n"), 800, 600},
    // Missing value lines: the size that has one keeps it
    {"WidthValueMissingAtTheEnd", std::string("HEIGHT\n480\nWIDTH"), 800, 480},
    {"HeightFollowedByAKey", std::string("HEIGHT\nWIDTH\n640\n"), 800, 600},
    // Foreign line ends
    {"WindowsLineEnds", std::string("WIDTH\r\n640\r\nHEIGHT\r\n480\r\n"), 640, 480},
    {"OldMacLineEndsAreOneLine", std::string("WIDTH\r640\rHEIGHT\r480\r"), 800, 600},
    {"ByteOrderMarkHidesTheFirstKey", std::string("\xEF\xBB\xBFWIDTH\n640\nHEIGHT\n480\n"), 800, 480},
    // Very long lines (1 MB)
    {"MegabyteOfDigits", "WIDTH\n" + std::string(kMegabyte, '9') + "\nHEIGHT\n480\n", 800, 480},
    {"MegabyteLineBeforeTheKeys", std::string(kMegabyte, 'x') + "\nWIDTH\n640\nHEIGHT\n480\n", 640, 480},
    {"MegabyteOfBlanksAfterAValue", "WIDTH\n640" + std::string(kMegabyte, ' ') + "\nHEIGHT\n480\n", 640, 480},
    {"MegabyteWithoutALineEnd", std::string(kMegabyte, 'W'), 800, 600},
    // Odd but usable sizes are kept
    {"OnePixel", std::string("WIDTH\n1\nHEIGHT\n1\n"), 1, 1},
    {"ThinStrip", std::string("WIDTH\n1000\nHEIGHT\n3\n"), 1000, 3},
    {"LargerThanTheScreen", std::string("WIDTH\n1600\nHEIGHT\n1200\n"), 1600, 1200},
};

void PrintTo(const ConfigCase& config, std::ostream* out) {
    *out << config.name;
}

class BadConfig : public ::testing::TestWithParam<ConfigCase> {};

}  // namespace

TEST_P(BadConfig, StartsAtASaneSizeAndQuitsCleanly) {
    const ConfigCase& config = GetParam();
    GameProcess game({config.text, true, true});
    if (!config.text) {
        std::filesystem::create_directory(game.runDir() / "config.txt");
    }
    game.start();
    const std::string window = game.waitForWindow();
    ASSERT_FALSE(window.empty()) << "status " << game.waitForExit() << "\n" << game.out() << game.err();
    EXPECT_EQ(hardening::windowSize(window), hardening::Size({config.width, config.height}));
    EXPECT_TRUE(game.waitForFirstFrame()) << game.out() << game.err();
    hardening::pressKey(window, "Escape");
    EXPECT_EQ(game.waitForExit(), 0) << game.err();
    EXPECT_EQ(game.err(), "");
    EXPECT_EQ(hardening::openGlErrors(game.out()), "");
}

INSTANTIATE_TEST_SUITE_P(Hardening, BadConfig, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ConfigCase>& info) { return info.param.name; });
