#pragma once

#include <cstdint>

namespace common::gl {

// The game's shader programs, as registered by ShaderController. The value 8 belongs to no program.
enum class ShaderType : std::int32_t {
    ColorShaderRed = 0,
    ColorShader = 1,
    LightShader = 2,
    TextureShader = 3,
    ShadowShader = 4,
    ShadowDepthShader = 5,
    TransparentShader = 6,
    QuadShader = 7,
    BlurShader = 9,
    ShowVelocityMapShader = 10,
    ArrowShader = 11
};

}  // namespace common::gl
