#include "tools/GlyphRenderer.h"

#include <algorithm>
#include <stdexcept>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace common::assetgen {

GlyphRenderer::GlyphRenderer(const std::string& fontPath) {
    if (FT_Init_FreeType(&library_) != 0) {
        throw std::runtime_error("cannot start FreeType");
    }
    if (FT_New_Face(library_, fontPath.c_str(), 0, &face_) != 0) {
        FT_Done_FreeType(library_);
        throw std::runtime_error("cannot open font " + fontPath);
    }
}

GlyphRenderer::~GlyphRenderer() {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
}

void GlyphRenderer::setPixelSize(int pixels) {
    FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixels));
}

GlyphRenderer::Bitmap GlyphRenderer::glyph(char character) const {
    Bitmap result;
    if (FT_Load_Char(face_, FT_ULong(static_cast<unsigned char>(character)), FT_LOAD_RENDER) != 0) {
        return result;
    }
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    result.width = int(bitmap.width);
    result.rows = int(bitmap.rows);
    result.left = slot->bitmap_left;
    result.top = slot->bitmap_top;
    result.advance = int(slot->advance.x >> 6);
    result.coverage.resize(std::size_t(result.width) * result.rows);
    for (int y = 0; y < result.rows; ++y) {
        for (int x = 0; x < result.width; ++x) {
            result.coverage[std::size_t(y) * result.width + x] = bitmap.buffer[y * bitmap.pitch + x];
        }
    }
    return result;
}

GlyphRenderer::Bitmap GlyphRenderer::text(const std::string& line) const {
    // First pass: extent of all glyphs against the pen; second pass: paint them.
    std::vector<Bitmap> glyphs;
    int pen = 0;
    int minX = 0;
    int maxX = 0;
    int maxTop = 0;
    int maxBottom = 0;
    std::vector<int> pens;
    for (const char c : line) {
        glyphs.push_back(glyph(c));
        const Bitmap& g = glyphs.back();
        pens.push_back(pen);
        if (g.width > 0) {
            minX = std::min(minX, pen + g.left);
            maxX = std::max(maxX, pen + g.left + g.width);
            maxTop = std::max(maxTop, g.top);
            maxBottom = std::max(maxBottom, g.rows - g.top);
        }
        pen += g.advance;
    }
    Bitmap result;
    result.width = maxX - minX;
    result.rows = maxTop + maxBottom;
    result.left = minX;
    result.top = maxTop;
    result.advance = pen;
    result.coverage.assign(std::size_t(result.width) * result.rows, 0);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Bitmap& g = glyphs[i];
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const int tx = pens[i] + g.left + x - minX;
                const int ty = maxTop - g.top + y;
                std::uint8_t& cell = result.coverage[std::size_t(ty) * result.width + tx];
                cell = std::max(cell, g.at(x, y));
            }
        }
    }
    return result;
}

}  // namespace common::assetgen
