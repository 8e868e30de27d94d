#include "app/QualityPreset.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "app/Config.h"

using namespace common::app;

// What each preset sets, the renderer's preset test reads back from the game itself. Its target is the
// scaled window and never empty.
TEST(QualityPreset, EachPresetIsNamedByItsWordOnlyThatWordParsesAndItsTargetIsNeverEmpty) {
    const std::pair<Quality, const char*> names[] = {
        {Quality::High, "high"}, {Quality::Medium, "medium"}, {Quality::Low, "low"}};
    for (const auto& [quality, name] : names) {
        EXPECT_EQ(QualityPreset::of(quality).quality, quality) << name;
        EXPECT_STREQ(QualityPreset::name(quality), name);
        EXPECT_EQ(QualityPreset::parse(name), quality) << name;
    }
    for (const char* word : {"", "High", "LOW", " low", "medium ", "ultra"}) {
        EXPECT_FALSE(QualityPreset::parse(word)) << '"' << word << '"';
    }
    EXPECT_EQ(QualityPreset::of(Quality::High).scaledSide(801), 801);
    EXPECT_EQ(QualityPreset::of(Quality::Medium).scaledSide(800), 600);
    EXPECT_EQ(QualityPreset::of(Quality::Medium).scaledSide(601), 451);  // 450.75 rounds up
    EXPECT_EQ(QualityPreset::of(Quality::Low).scaledSide(600), 300);
    EXPECT_EQ(QualityPreset::of(Quality::Low).scaledSide(1), 1);
}

TEST(QualityPreset, TheConfigFileChoosesThePresetAndNamesAnUnknownOne) {
    // What, the text, the quality, the unknown value the renderer warns about ("-" for none).
    const std::tuple<const char*, const char*, Quality, const char*> cases[] = {
        {"no key", "WIDTH\n1024\n", Quality::High, "-"},
        {"low", "QUALITY\nlow\nWIDTH\n1024\n", Quality::Low, "-"},
        {"medium with a carriage return", "QUALITY\r\nmedium\r\n", Quality::Medium, "-"},
        {"the last one wins", "QUALITY\nlow\nQUALITY\nhigh\n", Quality::High, "-"},
        {"a known value after an unknown one", "QUALITY\nfast\nQUALITY\nlow\n", Quality::Low, "-"},
        {"unknown", "QUALITY\nultra\n", Quality::High, "ultra"},
        {"upper case", "QUALITY\nLOW\n", Quality::High, "LOW"},
        {"value line missing", "QUALITY", Quality::High, ""},
        {"a key as the value", "QUALITY\nWIDTH\n640\n", Quality::High, "WIDTH"},
        {"key in lower case is an ordinary line", "quality\nlow\n", Quality::High, "-"},
    };
    for (const auto& [what, text, quality, unknown] : cases) {
        std::istringstream in(text);
        const Config config = Config::read(in);
        EXPECT_EQ(config.quality, quality) << what;
        EXPECT_EQ(config.unknownQuality.value_or("-"), unknown) << what;
    }
    // The other keys keep their meaning beside it: "WIDTH" as QUALITY's value is not a key.
    std::istringstream in("QUALITY\nWIDTH\n640\nHEIGHT\n480\n");
    const Config config = Config::read(in);
    EXPECT_EQ(config.width, 800);
    EXPECT_EQ(config.height, 480);
}
