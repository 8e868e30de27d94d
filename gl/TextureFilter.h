#pragma once

#include <cstdint>

namespace common::gl {

// Magnification filter of a Texture (and the family of its minification filter).
enum class TextureFilter : std::int32_t { Nearest = 0, Bilinear = 1 };

}  // namespace common::gl
