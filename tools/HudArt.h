#pragma once

#include <string>

#include "tools/GlyphRenderer.h"
#include "tools/Image.h"

namespace common::assetgen {

// The head-up display's pictures, drawn with Cairo (anti-aliased, straight alpha in the output):
// the altimeter dial, its needle, the score badge and the low-altitude warning. Sizes are powers of
// two; the layouts below are for 256 x 256.
class HudArt {
  public:
    // Labels use this font.
    explicit HudArt(const std::string& fontPath) : font_(fontPath) {}

    // Dial for a needle that turns clockwise one degree per unit of height from 0 at the top: a mark
    // every 10 units and a label every 20, from 0 to 300.
    Image altimeter(int size);
    // The needle, pointing straight up from the picture's centre, which it is turned about.
    Image arrow(int size);
    // A ring badge with a dark plate for the score, which the game prints at about x 68-256,
    // y 118-158 of this picture (scaled to 256).
    Image score(int size);
    // An amber warning triangle with "!" and "PULL UP".
    Image warning(int size);
    // The menu: a deep blue glass panel with a gold rim (drawn stretched over the menu's area), the
    // bar under the highlighted row, a translucent dark veil, and a medal (0 bronze, 1 silver, 2 gold):
    // a disc with a star on a ribbon.
    Image menuPanel(int size);
    Image menuHighlight(int size);
    Image menuShade(int size);
    Image medal(int size, int kind);

  private:
    GlyphRenderer font_;
};

}  // namespace common::assetgen
