#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace common::app {

enum class Quality { High, Medium, Low };

// What a quality preset sets: the knobs that decide how much work a frame costs a weak or software
// GL driver. "high" is the full picture; the lighter presets trade sharpness, shadow detail and
// blur smoothness for frame rate. GL-free: the renderer and the scene apply the figures.
struct QualityPreset {
    // Texture formats of the colour/velocity target, spelled as their GL internal formats.
    enum class TargetFormat { Float32, Float16 };

    Quality quality = Quality::High;
    // Side of the main pass's target relative to the window; the composite scales it up.
    float renderScale = 1.0f;
    // Side of each cascade's square depth map.
    std::int32_t shadowMapSize = 2048;
    // Samples of the window's framebuffer (the GLFW hint).
    std::int32_t windowSamples = 4;
    // Colour samples the motion blur averages per pixel (odd: the middle one is the pixel).
    std::int32_t blurTaps = 5;
    // Filtered shadow lookups per fragment in the nearest cascade (4: a soft edge; 1: one texel wide).
    std::int32_t nearShadowLookups = 4;
    // Terrain tiles farther than this from the craft are drawn with half the grid lines; 0: none are.
    float terrainDetailRadius = 0.0f;
    TargetFormat targetFormat = TargetFormat::Float32;
    // Rings drawn smaller than this many pixels across (on the scene target) show the light ring
    // model; the lighter presets show it everywhere.
    float ringFullModelPixels = 48.0f;

    static QualityPreset of(Quality quality);
    // "high", "medium" or "low"; anything else is not a preset.
    static std::optional<Quality> parse(const std::string& name);
    static const char* name(Quality quality);

    // The main pass's target for a window of the given size: scaled, at least one pixel a side.
    std::int32_t scaledSide(std::int32_t windowSide) const;
};

}  // namespace common::app
