#pragma once

namespace common::hud {

class FrameRateHint;
class TextOverlay;

// Draws the frame-rate hint's line where it belongs while it is shown, with the HUD's font.
class HintLine {
  public:
    static void draw(TextOverlay& text, const FrameRateHint& hint, int width, int height);
};

}  // namespace common::hud
