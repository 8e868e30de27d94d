#pragma once

#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace common::hud {

// A rectangle on the window in pixels, from the lower-left corner (as glViewport counts).
struct ScreenRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    bool overlaps(const ScreenRect& other) const;
    bool inside(const ScreenRect& outer) const;
};

// What the guidance shows for the next ring: a marker over it while it is on screen, otherwise an arrow
// at the window's edge pointing the way to turn. Either is a square of Guidance::kSize pixels.
struct GuidanceMark {
    bool onScreen = false;
    ScreenRect area;
    // The way the arrow points, counter-clockwise from the window's right; the marker points down.
    float angleDegrees = -90.0f;
    // From the craft to the ring's centre, in world units.
    float distance = 0.0f;
};

// Places the guidance mark for one frame, from the camera's matrices, without touching GL. The mark
// keeps out of the areas the rest of the HUD occupies, so it never hides the dial, the score or the
// warning.
class Guidance {
  public:
    static constexpr float kSize = 64.0f;
    // Gap between the ring's centre and the marker's lower edge, and between an arrow and the edge.
    static constexpr float kGap = 6.0f;

    Guidance(int width, int height, std::vector<ScreenRect> occupied);

    GuidanceMark locate(const glm::mat4& view, const glm::mat4& projection, const glm::vec3& ring,
                        const glm::vec3& craft) const;

  private:
    GuidanceMark markerOver(const glm::vec2& ringOnScreen) const;
    GuidanceMark arrowTowards(const glm::vec2& direction) const;
    // The nearest place for `area` that stays on the window and overlaps no occupied area.
    ScreenRect clearOfOccupied(const ScreenRect& area) const;
    bool isClear(const ScreenRect& area) const;
    ScreenRect window() const;

    float width;
    float height;
    std::vector<ScreenRect> occupied;
};

}  // namespace common::hud
