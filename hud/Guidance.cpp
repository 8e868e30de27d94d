#include "hud/Guidance.h"

#include <algorithm>
#include <cmath>

#include <glm/geometric.hpp>
#include <glm/vec4.hpp>

#include "camera/Angles.h"

namespace common::hud {
namespace {

ScreenRect squareAt(const glm::vec2& centre, float size) {
    return {centre.x - size / 2.0f, centre.y - size / 2.0f, size, size};
}

ScreenRect movedBy(ScreenRect area, float dx, float dy) {
    area.x += dx;
    area.y += dy;
    return area;
}

}  // namespace

bool ScreenRect::overlaps(const ScreenRect& other) const {
    return x < other.x + other.width && other.x < x + width && y < other.y + other.height &&
           other.y < y + height;
}

bool ScreenRect::inside(const ScreenRect& outer) const {
    return x >= outer.x && y >= outer.y && x + width <= outer.x + outer.width &&
           y + height <= outer.y + outer.height;
}

Guidance::Guidance(int width, int height, std::vector<ScreenRect> occupied)
    : width(static_cast<float>(width)), height(static_cast<float>(height)), occupied(std::move(occupied)) {}

ScreenRect Guidance::window() const {
    return {0.0f, 0.0f, width, height};
}

GuidanceMark Guidance::locate(const glm::mat4& view, const glm::mat4& projection, const glm::vec3& ring,
                              const glm::vec3& craft) const {
    const glm::vec4 inView = view * glm::vec4(ring, 1.0f);
    const glm::vec4 clip = projection * inView;
    GuidanceMark mark;
    if (clip.w > 0.0f && std::abs(clip.x) <= clip.w && std::abs(clip.y) <= clip.w) {
        const glm::vec2 ndc(clip.x / clip.w, clip.y / clip.w);
        mark = markerOver({(ndc.x + 1.0f) * 0.5f * width, (ndc.y + 1.0f) * 0.5f * height});
    } else {
        // The ring's side of the view axis, stretched as the projection stretches it: the same way
        // whether the ring is ahead (and off to a side) or behind.
        mark = arrowTowards({inView.x * projection[0][0], inView.y * projection[1][1]});
    }
    mark.distance = glm::distance(ring, craft);
    return mark;
}

GuidanceMark Guidance::markerOver(const glm::vec2& ringOnScreen) const {
    GuidanceMark mark;
    mark.onScreen = true;
    const ScreenRect above{ringOnScreen.x - kSize / 2.0f, ringOnScreen.y + kGap, kSize, kSize};
    mark.area = clearOfOccupied(above);
    return mark;
}

GuidanceMark Guidance::arrowTowards(const glm::vec2& direction) const {
    // Straight behind, either way is as good: turn right.
    const glm::vec2 way = glm::length(direction) > 1e-6f ? glm::normalize(direction) : glm::vec2(1.0f, 0.0f);
    const float reachX = width / 2.0f - kGap - kSize / 2.0f;
    const float reachY = height / 2.0f - kGap - kSize / 2.0f;
    const float along = std::min(way.x != 0.0f ? reachX / std::abs(way.x) : reachY / std::abs(way.y),
                                 way.y != 0.0f ? reachY / std::abs(way.y) : reachX / std::abs(way.x));
    GuidanceMark mark;
    mark.area = clearOfOccupied(squareAt(glm::vec2(width, height) / 2.0f + way * along, kSize));
    mark.angleDegrees = toDegrees(std::atan2(way.y, way.x));
    return mark;
}

bool Guidance::isClear(const ScreenRect& area) const {
    return std::none_of(occupied.begin(), occupied.end(),
                        [&area](const ScreenRect& taken) { return area.overlaps(taken); });
}

ScreenRect Guidance::clearOfOccupied(const ScreenRect& area) const {
    // Into the window first (a ring near the top would push its marker off it).
    ScreenRect placed = area;
    placed.x = std::clamp(placed.x, 0.0f, std::max(0.0f, width - placed.width));
    placed.y = std::clamp(placed.y, 0.0f, std::max(0.0f, height - placed.height));
    if (isClear(placed)) {
        return placed;
    }
    // Then the shortest move past the edge of an occupied area that lands clear and on the window.
    std::vector<ScreenRect> candidates;
    for (const ScreenRect& taken : occupied) {
        candidates.push_back(movedBy(placed, 0.0f, taken.y + taken.height - placed.y));
        candidates.push_back(movedBy(placed, 0.0f, taken.y - placed.height - placed.y));
        candidates.push_back(movedBy(placed, taken.x + taken.width - placed.x, 0.0f));
        candidates.push_back(movedBy(placed, taken.x - placed.width - placed.x, 0.0f));
    }
    const auto moved = [&placed](const ScreenRect& candidate) {
        return std::abs(candidate.x - placed.x) + std::abs(candidate.y - placed.y);
    };
    std::sort(candidates.begin(), candidates.end(),
              [&moved](const ScreenRect& a, const ScreenRect& b) { return moved(a) < moved(b); });
    for (const ScreenRect& candidate : candidates) {
        if (candidate.inside(window()) && isClear(candidate)) {
            return candidate;
        }
    }
    return placed;
}

}  // namespace common::hud
