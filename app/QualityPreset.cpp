#include "app/QualityPreset.h"

#include <algorithm>
#include <cmath>

namespace common::app {

// Chosen by the frame-time benchmark on software rendering (README, "Quality presets"): the main
// pass and the composite cost in proportion to the pixels they touch, so the render scale saves
// most; the depth-map clears cost in proportion to the map's area.
QualityPreset QualityPreset::of(Quality quality) {
    QualityPreset preset;
    preset.quality = quality;
    switch (quality) {
        case Quality::High:
            break;
        case Quality::Medium:
            preset.renderScale = 0.75f;
            preset.shadowMapSize = 1024;
            preset.terrainDetailRadius = 160.0f;
            preset.nearShadowLookups = 1;
            preset.windowSamples = 0;
            preset.blurTaps = 3;
            preset.targetFormat = TargetFormat::Float16;
            preset.ringFullModelPixels = std::numeric_limits<float>::infinity();
            break;
        case Quality::Low:
            preset.renderScale = 0.5f;
            preset.shadowMapSize = 512;
            preset.terrainDetailRadius = 96.0f;
            preset.nearShadowLookups = 1;
            preset.windowSamples = 0;
            preset.blurTaps = 3;
            preset.targetFormat = TargetFormat::Float16;
            preset.ringFullModelPixels = std::numeric_limits<float>::infinity();
            break;
    }
    return preset;
}

std::optional<Quality> QualityPreset::parse(const std::string& name) {
    for (Quality quality : {Quality::High, Quality::Medium, Quality::Low}) {
        if (name == QualityPreset::name(quality)) {
            return quality;
        }
    }
    return std::nullopt;
}

const char* QualityPreset::name(Quality quality) {
    switch (quality) {
        case Quality::Medium:
            return "medium";
        case Quality::Low:
            return "low";
        case Quality::High:
            break;
    }
    return "high";
}

std::int32_t QualityPreset::scaledSide(std::int32_t windowSide) const {
    const auto scaled = static_cast<std::int32_t>(std::lround(static_cast<double>(windowSide) * renderScale));
    return std::max(scaled, std::int32_t{1});
}

}  // namespace common::app
