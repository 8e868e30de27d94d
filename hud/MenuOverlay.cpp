#include "hud/MenuOverlay.h"

#include <exception>

#include <GL/glew.h>

#include "gl/Texture.h"
#include "hud/Guidance.h"
#include "hud/TextOverlay.h"
#include "menu/Menu.h"
#include "menu/MenuLayout.h"
#include "scene/Quad.h"

namespace common::hud {

MenuOverlay::MenuOverlay(TextOverlay& overlay) : overlay_(overlay) {
    quad_ = std::make_unique<scene::Quad>();
    panel_ = std::make_unique<gl::Texture>(kPanelPath, GL_TEXTURE_2D);
    highlight_ = std::make_unique<gl::Texture>(kHighlightPath, GL_TEXTURE_2D);
    shade_ = std::make_unique<gl::Texture>(kShadePath, GL_TEXTURE_2D);
    for (int medal = 0; medal < 3; ++medal) {
        medals_[medal] = std::make_unique<gl::Texture>(kMedalPaths[medal], GL_TEXTURE_2D);
    }
}

MenuOverlay::~MenuOverlay() = default;

void MenuOverlay::image(const gl::Texture& texture, const ScreenRect& area) {
    glViewport(static_cast<GLint>(area.x), static_cast<GLint>(area.y), static_cast<GLsizei>(area.width),
               static_cast<GLsizei>(area.height));
    texture.bind(0);
    quad_->draw();
}

// The texts go in one batch, one draw call instead of one per string (on a software renderer those calls
// cost more than the pixels they fill), and the pictures around it. Nothing overlaps but the panel and
// bars under everything, and a row's text, its medal and its veil, which keep that order.
void MenuOverlay::draw(const menu::Menu& menu, int width, int height) {
    if (!menu.isOpen()) {
        return;
    }
    width_ = width;
    height_ = height;
    const menu::MenuLayout layout = menu::MenuLayout::of(menu, width, height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // No veil over the whole window: on a software renderer blending every pixel costs more than the
    // rest of the menu together; the panel's own glass darkens what lies behind it.
    image(*panel_, layout.panel());
    for (const menu::MenuLayout::Row& row : layout.rows()) {
        if (row.index == menu.highlighted()) {
            image(*highlight_, row.area);
        }
    }
    drawPicture(menu, layout);
    glViewport(0, 0, width, height);
    overlay_.beginBatch();
    const ScreenRect& title = layout.title();
    overlay_.printText(menu.title().c_str(), static_cast<int>(title.x), static_cast<int>(title.y),
                       static_cast<int>(title.height));
    const std::vector<menu::MenuItem> items = menu.items();
    printRows(items, layout);
    printDetails(menu, layout);
    overlay_.flush();
    drawRowMarks(items, layout);
    glDisable(GL_BLEND);
    glViewport(0, 0, width, height);
}

void MenuOverlay::printRows(const std::vector<menu::MenuItem>& items, const menu::MenuLayout& layout) {
    const int glyph = layout.glyphSize();
    // Clear of the bright bead at the bar's left end.
    const float inset = layout.padding() * 0.9f;
    for (const menu::MenuLayout::Row& row : layout.rows()) {
        const menu::MenuItem& item = items[row.index];
        const ScreenRect& area = row.area;
        const int y = static_cast<int>(area.y + (area.height - glyph) / 2);
        const ScreenRect medal = layout.medalArea(row);
        float right = area.x + area.width - inset;
        // Every row of a list with medals leaves their column free, so the times line up.
        for (const menu::MenuItem& other : items) {
            if (other.medal != scene::Medal::None) {
                right = medal.x - inset;
                break;
            }
        }
        overlay_.printText(item.label.c_str(), static_cast<int>(area.x + inset), y, glyph);
        const auto valueWidth = static_cast<float>(item.value.size() * glyph);
        overlay_.printText(item.value.c_str(), static_cast<int>(right - valueWidth), y, glyph);
    }
}

// Over the rows' texts: the medals, and the veil over rows that cannot be chosen.
void MenuOverlay::drawRowMarks(const std::vector<menu::MenuItem>& items, const menu::MenuLayout& layout) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const menu::MenuLayout::Row& row : layout.rows()) {
        const menu::MenuItem& item = items[row.index];
        if (item.medal != scene::Medal::None) {
            image(*medals_[static_cast<int>(item.medal) - 1], layout.medalArea(row));
        }
        if (!item.enabled) {
            image(*shade_, row.area);
            image(*shade_, row.area);
        }
    }
}

void MenuOverlay::drawPicture(const menu::Menu& menu, const menu::MenuLayout& layout) {
    if (menu.screen() == menu::Screen::Courses && menu.highlighted() >= 0) {
        const std::string& path = menu.courses()[menu.highlighted()].picturePath;
        if (const gl::Texture* texture = path.empty() ? nullptr : picture(path)) {
            image(*texture, layout.picture());
        }
    }
}

void MenuOverlay::printDetails(const menu::Menu& menu, const menu::MenuLayout& layout) {
    const int size = layout.detailSize();
    float y = layout.detailTop() - static_cast<float>(size);
    for (const std::string& line : menu.details()) {
        overlay_.printText(line.c_str(), static_cast<int>(layout.detailX()), static_cast<int>(y), size);
        y -= static_cast<float>(size) * 1.4f;
    }
}

const gl::Texture* MenuOverlay::picture(const std::string& path) {
    auto found = pictures_.find(path);
    if (found == pictures_.end()) {
        std::unique_ptr<gl::Texture> texture;
        try {
            texture = std::make_unique<gl::Texture>(path.c_str(), GL_TEXTURE_2D);
        } catch (const std::exception&) {
            // A course without a readable picture is listed without one.
        }
        found = pictures_.emplace(path, std::move(texture)).first;
    }
    return found->second.get();
}

}  // namespace common::hud
