#include "app/QualityPreset.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/Config.h"

using namespace common::app;

namespace {

struct Figures {
    Quality quality;
    float renderScale;
    int shadowMapSize;
    int windowSamples;
    int blurTaps;
    QualityPreset::TargetFormat format;
};

// "high" is the full picture, figure for figure; the others only ever lower a figure.
const Figures kPresets[] = {
    {Quality::High, 1.0f, 2048, 4, 5, QualityPreset::TargetFormat::Float32},
    {Quality::Medium, 0.75f, 1024, 0, 3, QualityPreset::TargetFormat::Float16},
    {Quality::Low, 0.5f, 512, 0, 3, QualityPreset::TargetFormat::Float16},
};

}  // namespace

TEST(QualityPreset, EachPresetSetsItsFiguresAndIsNamedByItsWord) {
    for (const Figures& expected : kPresets) {
        const QualityPreset preset = QualityPreset::of(expected.quality);
        const char* name = QualityPreset::name(expected.quality);
        EXPECT_EQ(preset.quality, expected.quality) << name;
        EXPECT_FLOAT_EQ(preset.renderScale, expected.renderScale) << name;
        EXPECT_EQ(preset.shadowMapSize, expected.shadowMapSize) << name;
        EXPECT_EQ(preset.windowSamples, expected.windowSamples) << name;
        EXPECT_EQ(preset.blurTaps, expected.blurTaps) << name;
        EXPECT_EQ(preset.blurTaps % 2, 1) << name << ": the middle tap is the pixel itself";
        EXPECT_EQ(preset.targetFormat, expected.format) << name;
        EXPECT_EQ(QualityPreset::parse(name), expected.quality) << name;
    }
    EXPECT_STREQ(QualityPreset::name(Quality::High), "high");
    EXPECT_STREQ(QualityPreset::name(Quality::Medium), "medium");
    EXPECT_STREQ(QualityPreset::name(Quality::Low), "low");
    for (const char* word : {"", "High", "LOW", " low", "medium ", "ultra"}) {
        EXPECT_FALSE(QualityPreset::parse(word)) << '"' << word << '"';
    }
}

TEST(QualityPreset, TheTargetIsTheScaledWindowAndNeverEmpty) {
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
