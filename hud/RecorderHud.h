#pragma once

#include <string>
#include <vector>

namespace common::hud {

class TextOverlay;

// The course recorder's lines over the frame: what is recorded so far and, once the course is saved,
// what the check said. In the upper-left corner under the frame-rate lines, clear of the warning sign,
// each line cut to the window's width. Draws through the TextOverlay the Hud set up.
class RecorderHud {
  public:
    static constexpr int kSize = 14;
    static constexpr int kLineStep = 18;
    static constexpr int kTop = 110;
    static constexpr std::size_t kMaxLines = 4;

    explicit RecorderHud(TextOverlay& overlay) : overlay_(overlay) {}

    // The lines as drawn: at most kMaxLines (the last says how many more there were), each at most as
    // many glyphs as fit across `width`.
    static std::vector<std::string> fitted(const std::vector<std::string>& lines, int width);
    void draw(const std::vector<std::string>& lines, int width, int height) const;

  private:
    TextOverlay& overlay_;
};

}  // namespace common::hud
