#pragma once

#include <string>
#include <vector>

#include "hud/Guidance.h"
#include "menu/MenuTypes.h"

namespace common::menu {

class Menu;

// Where the menu's parts go in a window of width x height pixels (origin lower left, y up): a panel in
// the middle with the title, up to kMaxRows rows (the list scrolls with the highlight), and the detail
// lines under them, beside the picture when there is one; the results hang below the finish screen's
// points and shrink to fit there. Sizes follow the window's height (720 pixels
// is the reference); a row's glyphs shrink when its text would not fit the window's width. GL-free:
// the overlay draws by it and the mouse is matched against it.
class MenuLayout {
  public:
    static constexpr int kMaxRows = 9;
    static constexpr float kReferenceHeight = 720.0f;
    // The finish screen's points end 60 pixels under the window's middle; the results start below.
    static constexpr int kResultsBelowCentre = 68;
    // "Paused" stands with its foot at two thirds of the window's height; the pause screens start below.
    static constexpr int kBelowPaused = 8;

    struct Row {
        int index;
        hud::ScreenRect area;
    };

    // The menu's screen as it is now.
    static MenuLayout of(const Menu& menu, int width, int height);

    MenuLayout(int width, int height, const std::string& title, const std::vector<MenuItem>& items,
               int highlighted, const std::vector<std::string>& details, bool picture, float top);

    const hud::ScreenRect& panel() const { return panel_; }
    // The lower-left corner of the title's first glyph, and its glyph size.
    const hud::ScreenRect& title() const { return title_; }
    const std::vector<Row>& rows() const { return rows_; }
    int glyphSize() const { return glyph_; }
    // The medal icon's square at the right end of a row.
    hud::ScreenRect medalArea(const Row& row) const;
    // Where the detail lines begin (the first one's lower-left corner), their glyph size and step.
    float detailX() const { return detailX_; }
    float detailTop() const { return detailTop_; }
    int detailSize() const { return detailSize_; }
    const hud::ScreenRect& picture() const { return picture_; }
    // The row under window pixel (x, y), y up; -1 for none.
    int rowAt(float x, float y) const;
    float padding() const { return padding_; }

  private:
    struct Content {
        const std::string& title;
        const std::vector<MenuItem>& items;
        int highlighted;
        const std::vector<std::string>& details;
        bool picture;
    };
    // Places everything at `scale` with the panel's top at most at `top`; returns the panel's height.
    float place(int width, int height, float scale, const Content& content, float top);

    std::vector<Row> rows_;
    hud::ScreenRect panel_;
    hud::ScreenRect title_;
    hud::ScreenRect picture_;
    int glyph_ = 0;
    float padding_ = 0.0f;
    float detailX_ = 0.0f;
    float detailTop_ = 0.0f;
    int detailSize_ = 0;
};

}  // namespace common::menu
