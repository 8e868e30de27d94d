#include "tools/FontAtlas.h"

#include <algorithm>

#include "tools/GlyphRenderer.h"

namespace common::assetgen {

namespace {

constexpr char kFirstPrintable = 33;
constexpr char kLastPrintable = 126;

struct Extent {
    int ascent = 0;
    int descent = 0;
    int width = 0;
};

Extent measure(const GlyphRenderer& glyphs) {
    Extent extent;
    for (char c = kFirstPrintable; c <= kLastPrintable; ++c) {
        const GlyphRenderer::Bitmap g = glyphs.glyph(c);
        extent.ascent = std::max(extent.ascent, g.top);
        extent.descent = std::max(extent.descent, g.rows - g.top);
        extent.width = std::max(extent.width, g.width);
    }
    return extent;
}

}  // namespace

Image FontAtlas::render(const std::string& fontPath, int cellSize) {
    GlyphRenderer glyphs(fontPath);
    const int room = cellSize - 2 * kMargin;
    // The largest size at which every printable glyph fits its cell.
    int pixels = cellSize;
    Extent extent;
    for (; pixels > 4; --pixels) {
        glyphs.setPixelSize(pixels);
        extent = measure(glyphs);
        if (extent.ascent + extent.descent <= room && extent.width <= room) {
            break;
        }
    }
    const int baseline = kMargin + extent.ascent + (room - extent.ascent - extent.descent) / 2;

    // White everywhere, so filtering towards the transparent surroundings does not darken the edges.
    Image atlas(kCells * cellSize, kCells * cellSize, 4);
    for (int y = 0; y < atlas.height(); ++y) {
        for (int x = 0; x < atlas.width(); ++x) {
            atlas.set(x, y, {1.0, 1.0, 1.0}, 0.0);
        }
    }
    for (char c = kFirstPrintable; c <= kLastPrintable; ++c) {
        const GlyphRenderer::Bitmap g = glyphs.glyph(c);
        const int cellX = (c % kCells) * cellSize;
        const int cellY = (c / kCells) * cellSize;
        const int left = cellX + (cellSize - g.width) / 2;
        const int top = cellY + baseline - g.top;
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                atlas.pixel(left + x, top + y)[3] = g.at(x, y);
            }
        }
    }
    return atlas;
}

}  // namespace common::assetgen
