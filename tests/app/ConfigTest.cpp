#include "app/Config.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/TestFiles.h"

using common::app::Config;

namespace {

Config parse(const std::string& text) {
    std::istringstream in(text);
    return Config::read(in);
}

void expectConfig(const Config& config, int width, int height, bool fullscreen) {
    EXPECT_EQ(config.width, width);
    EXPECT_EQ(config.height, height);
    EXPECT_EQ(config.fullscreen, fullscreen);
}

}  // namespace

// Well-formed files
TEST(Config, FiveLinesGiveAFullScreenWindowOfTheGivenSize) {
    expectConfig(parse("WIDTH\n1024\nHEIGHT\n768\nF\n"), 1024, 768, true);
}

TEST(Config, KeysInAnyOrderAndTheLastValueWins) {
    expectConfig(parse("HEIGHT\n480\nWIDTH\n640\nWIDTH\n1280\n"), 1280, 480, false);
}

TEST(Config, CarriageReturnsBeforeLineFeedsBelongToTheTerminator) {
    expectConfig(parse("WIDTH\r\n1024\r\nHEIGHT\r\n768\r\nF\r\n"), 1024, 768, true);
}

TEST(Config, LastLineWithoutLineFeedIsStillRead) {
    expectConfig(parse("WIDTH\n1024\nHEIGHT\n768\nF"), 1024, 768, true);
    expectConfig(parse("WIDTH\n1024\nHEIGHT\n700"), 1024, 700, false);
}

TEST(Config, ValueExtractionSkipsBlanksAndStopsAtTheFirstNonDigit) {
    expectConfig(parse("WIDTH\n  1024px\nHEIGHT\n+768 pixels\n"), 1024, 768, false);
}

// Lines that are not keys
TEST(Config, KeysMatchOnlyTheWholeUpperCaseLine) {
    expectConfig(parse("width\n1024\nWIDTH \n1000\n HEIGHT\n700\nf\nF \n"), 800, 600, false);
}

TEST(Config, CommentsAndBlankLinesAreIgnored) {
    expectConfig(parse("# window\n\nWIDTH\n1024\n\nsomething else\nHEIGHT\n768\n"), 1024, 768, false);
}

TEST(Config, TheLineAfterAKeyIsAlwaysItsValueEvenAnotherKey) {
    // "WIDTH" is consumed as the height's value; 1024 is then an ordinary line.
    expectConfig(parse("HEIGHT\nWIDTH\n1024\n"), 800, 600, false);
    // "F" after WIDTH is the width's value, so the window is not full screen.
    expectConfig(parse("WIDTH\nF\nHEIGHT\n700\n"), 800, 700, false);
}

// Fall-backs for sizes every later user needs to be positive
TEST(Config, OnlyFullScreenKeepsTheDefaultSize) {
    expectConfig(parse("F\n"), 800, 600, true);
}

TEST(Config, MissingZeroNegativeOrOverflowingDimensionsFallBack) {
    expectConfig(parse("WIDTH\n0\nHEIGHT\n-5\n"), 800, 600, false);
    expectConfig(parse("WIDTH\nabc\nHEIGHT\n99999999999\n"), 800, 600, false);
    expectConfig(parse("WIDTH\n16384\nHEIGHT\n"), 16384, 600, false);
    expectConfig(parse("HEIGHT"), 800, 600, false);
}

TEST(Config, AnInvalidLaterValueReplacesAnEarlierGoodOne) {
    expectConfig(parse("WIDTH\n1024\nWIDTH\nwide\n"), 800, 600, false);
}

TEST(Config, EmptyAndBinaryInputGiveDefaults) {
    expectConfig(parse(""), 800, 600, false);
    expectConfig(parse(std::string("\0\xff\xfe\x01WIDTH\x00", 10)), 800, 600, false);
}

// Files on disk
TEST(ConfigFile, MissingFileGivesTheDefaultWindow) {
    testsupport::TempDir dir;
    expectConfig(Config::readFile((dir.path() / "config.txt").string()), 800, 600, false);
}

TEST(ConfigFile, ReadsAFileWithWindowsLineEnds) {
    testsupport::TempDir dir;
    const auto path = dir.write("config.txt", "WIDTH\r\n1024\r\nHEIGHT\r\n768\r\n");
    expectConfig(Config::readFile(path.string()), 1024, 768, false);
}

TEST(ConfigFile, ReadingPrintsNothing) {
    testsupport::TempDir dir;
    const auto path = dir.write("config.txt", "junk\nWIDTH\nx\n");
    testsupport::beginStdoutCapture();
    Config::readFile(path.string());
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
}
