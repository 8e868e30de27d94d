#include "hud/RecorderHud.h"

#include <algorithm>

#include "hud/TextOverlay.h"

namespace common::hud {

std::vector<std::string> RecorderHud::fitted(const std::vector<std::string>& lines, int width) {
    std::vector<std::string> shown(lines.begin(), lines.begin() + std::min(lines.size(), kMaxLines));
    if (lines.size() > kMaxLines) {
        shown.back() = "... and " + std::to_string(lines.size() - kMaxLines + 1) + " more (see the console)";
    }
    const std::size_t glyphs = static_cast<std::size_t>(std::max(1, (width - 20) / kSize));
    for (std::string& line : shown) {
        line = line.substr(0, glyphs);
    }
    return shown;
}

void RecorderHud::draw(const std::vector<std::string>& lines, int width, int height) const {
    const std::vector<std::string> shown = fitted(lines, width);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        overlay_.printText(shown[i].c_str(), 10, height - kTop - static_cast<int>(i) * kLineStep, kSize);
    }
}

}  // namespace common::hud
