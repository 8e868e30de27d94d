#pragma once

#include <string>

#include "tools/Image.h"

namespace common::assetgen {

// The text overlay's glyph atlas: 16 x 16 square cells, character c in column c % 16 and row c / 16
// counted from the top; white glyphs whose alpha is the anti-aliased coverage. The overlay draws every
// character in a square of the same size, so each glyph is centred in its cell on a common baseline,
// as large as the widest and tallest printable glyphs allow.
class FontAtlas {
  public:
    static constexpr int kCells = 16;
    static constexpr int kMargin = 3;

    static Image render(const std::string& fontPath, int cellSize);
};

}  // namespace common::assetgen
