#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace common::assetgen {

// Anti-aliased glyph coverage from a TrueType font through FreeType. Owns the FreeType library and
// the face; not copyable.
class GlyphRenderer {
  public:
    // A coverage bitmap (0 to 255 per pixel, rows from the top) and where it sits against the pen:
    // `left` pixels right of it and `top` pixels above the baseline.
    struct Bitmap {
        int width = 0;
        int rows = 0;
        int left = 0;
        int top = 0;
        int advance = 0;
        std::vector<std::uint8_t> coverage;
        std::uint8_t at(int x, int y) const { return coverage[std::size_t(y) * width + x]; }
    };

    // Throws std::runtime_error naming the file when the font cannot be opened.
    explicit GlyphRenderer(const std::string& fontPath);
    ~GlyphRenderer();
    GlyphRenderer(const GlyphRenderer&) = delete;
    GlyphRenderer& operator=(const GlyphRenderer&) = delete;

    void setPixelSize(int pixels);
    Bitmap glyph(char character) const;
    // A whole line of text as one bitmap; `left` and `top` refer to the pen at its start.
    Bitmap text(const std::string& line) const;

  private:
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
};

}  // namespace common::assetgen
