#include "hud/HintLine.h"

#include <GL/glew.h>

#include "hud/FrameRateHint.h"
#include "hud/TextOverlay.h"

namespace common::hud {

void HintLine::draw(TextOverlay& text, const FrameRateHint& hint, int width, int height) {
    if (!hint.shown()) {
        return;
    }
    glViewport(0, 0, width, height);
    const ScreenRect place = FrameRateHint::placement(width, height);
    text.printText(FrameRateHint::kText, static_cast<int>(place.x), static_cast<int>(place.y),
                   static_cast<int>(place.height));
}

}  // namespace common::hud
