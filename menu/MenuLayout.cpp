#include "menu/MenuLayout.h"

#include <algorithm>
#include <cmath>

#include "menu/Menu.h"

namespace common::menu {
namespace {

// At the reference height, in pixels.
constexpr float kTitleSize = 40.0f;
constexpr float kRowHeight = 44.0f;
constexpr float kGlyphSize = 26.0f;
constexpr float kDetailSize = 20.0f;
constexpr float kPadding = 20.0f;
constexpr float kPanelWidth = 720.0f;
constexpr float kMargin = 10.0f;
constexpr float kMinGlyph = 10.0f;

// The glyph size at which `glyphs` characters fill at most `room` pixels, at most `preferred`.
int fitting(std::size_t glyphs, float room, float preferred) {
    const float size = std::min(preferred, room / static_cast<float>(std::max<std::size_t>(glyphs, 1)));
    return static_cast<int>(std::max(kMinGlyph, std::floor(size)));
}

std::size_t widestRow(const std::vector<MenuItem>& items) {
    std::size_t widest = 1;
    for (const MenuItem& item : items) {
        // Two glyphs between the label and the value.
        widest = std::max(widest, item.label.size() + (item.value.empty() ? 0 : item.value.size() + 2));
    }
    return widest;
}

}  // namespace

MenuLayout MenuLayout::of(const Menu& menu, int width, int height) {
    // The results go under the finish screen's "Finish!" and points (or "GAME OVER"), the other screens
    // under the pause's "Paused": those lines stay in view as the menu's heading.
    const bool results = menu.screen() == Screen::Results;
    const int top = results ? height / 2 - kResultsBelowCentre : height * 2 / 3 - kBelowPaused;
    return MenuLayout(width, height, menu.title(), menu.items(), menu.highlighted(), menu.details(),
                      menu.screen() == Screen::Courses, static_cast<float>(top));
}

MenuLayout::MenuLayout(int width, int height, const std::string& title, const std::vector<MenuItem>& items,
                       int highlighted, const std::vector<std::string>& details, bool picture, float top) {
    const float scale = static_cast<float>(height) / kReferenceHeight;
    const Content content{title, items, highlighted, details, picture};
    const float tallest = top - kMargin;
    // Below a smaller top everything shrinks until the panel fits (the text no smaller than readable).
    const float needed = place(width, height, scale, content, top);
    if (needed > tallest) {
        place(width, height, scale * tallest / needed, content, top);
    }
}

float MenuLayout::place(int width, int height, float scale, const Content& content, float top) {
    const std::vector<MenuItem>& items = content.items;
    const std::string& title = content.title;
    const bool picture = content.picture;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    rows_.clear();
    padding_ = kPadding * scale;
    const float rowHeight = kRowHeight * scale;
    const bool medals = std::any_of(items.begin(), items.end(),
                                    [](const MenuItem& item) { return item.medal != scene::Medal::None; });
    const float medalRoom = medals ? rowHeight : 0.0f;

    // As wide as the rows want, between the reference width and the window's.
    const float wanted = static_cast<float>(widestRow(items)) * kGlyphSize * scale + 2 * padding_ + medalRoom;
    const float panelWidth = std::min(w - 2 * kMargin, std::max(kPanelWidth * scale, wanted));
    const float inner = panelWidth - 2 * padding_;
    glyph_ = fitting(widestRow(items), inner - medalRoom, kGlyphSize * scale);
    const int titleSize = title.empty() ? 0 : fitting(title.size(), inner, kTitleSize * scale);
    const float titleRoom = title.empty() ? 0.0f : titleSize + padding_;

    // The picture is as high as four lines of the preferred size; the lines beside it fit what is left.
    const float pictureSide = picture ? 4.0f * 1.4f * kDetailSize * scale : 0.0f;
    std::size_t longestDetail = 1;
    for (const std::string& line : content.details) {
        longestDetail = std::max(longestDetail, line.size());
    }
    detailSize_ =
        fitting(longestDetail, inner - (picture ? pictureSide + padding_ : 0.0f), kDetailSize * scale);
    const float detailStep = detailSize_ * 1.4f;
    const float detailHeight = std::max(pictureSide, static_cast<float>(content.details.size()) * detailStep);

    // As many rows as the window's height leaves room for.
    const float fixed = 2 * padding_ + titleRoom + (detailHeight > 0 ? detailHeight + padding_ : 0.0f);
    const int count = static_cast<int>(items.size());
    // A hanging panel shows every row of a short list and shrinks instead; long lists scroll.
    const int fit =
        top < h && count <= kMaxRows ? count : static_cast<int>((top - 2 * kMargin - fixed) / rowHeight);
    const int shown = std::clamp(std::min(fit, kMaxRows), 1, std::max(count, 1));
    const int first = std::clamp(content.highlighted - shown / 2, 0, std::max(0, count - shown));

    const float panelHeight = fixed + shown * rowHeight;
    // Centred in the window, or hanging from a lower top.
    const float bottom = top < h ? top - panelHeight : (h - panelHeight) / 2;
    panel_ = {(w - panelWidth) / 2, std::max(kMargin, bottom), panelWidth, panelHeight};
    const float left = panel_.x + padding_;
    float y = panel_.y + panelHeight - padding_;
    title_ = {left + (inner - static_cast<float>(title.size() * titleSize)) / 2, y - titleSize,
              static_cast<float>(title.size() * titleSize), static_cast<float>(titleSize)};
    y -= titleRoom;
    for (int row = first; row < std::min(count, first + shown); ++row) {
        y -= rowHeight;
        rows_.push_back({row, {left, y, inner, rowHeight}});
    }
    picture_ = {left, panel_.y + padding_, pictureSide, pictureSide};
    detailX_ = left + (picture ? pictureSide + padding_ : 0.0f);
    detailTop_ = y - padding_;
    return panelHeight;
}

hud::ScreenRect MenuLayout::medalArea(const Row& row) const {
    const float side = row.area.height * 0.8f;
    return {row.area.x + row.area.width - side, row.area.y + (row.area.height - side) / 2, side, side};
}

int MenuLayout::rowAt(float x, float y) const {
    for (const Row& row : rows_) {
        const hud::ScreenRect& a = row.area;
        if (x >= a.x && x < a.x + a.width && y >= a.y && y < a.y + a.height) {
            return row.index;
        }
    }
    return -1;
}

}  // namespace common::menu
