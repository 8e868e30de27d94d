#pragma once

#include <cstdint>

namespace common::gl {

// How a Texture's minification uses its mipmap chain.
enum class MipmapMode : std::int32_t { Off = 0, Nearest = 1, Linear = 2 };

}  // namespace common::gl
