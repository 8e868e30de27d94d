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
    glViewport(0, 0, width, height);
    const ScreenRect& title = layout.title();
    overlay_.printText(menu.title().c_str(), static_cast<int>(title.x), static_cast<int>(title.y),
                       static_cast<int>(title.height));
    drawRows(menu, layout);
    drawDetails(menu, layout);
    glDisable(GL_BLEND);
    glViewport(0, 0, width, height);
}

void MenuOverlay::drawRows(const menu::Menu& menu, const menu::MenuLayout& layout) {
    const std::vector<menu::MenuItem> items = menu.items();
    const int glyph = layout.glyphSize();
    // Clear of the bright bead at the bar's left end.
    const float inset = layout.padding() * 0.9f;
    for (const menu::MenuLayout::Row& row : layout.rows()) {
        const menu::MenuItem& item = items[row.index];
        const ScreenRect& area = row.area;
        const int y = static_cast<int>(area.y + (area.height - glyph) / 2);
        const bool medals = item.medal != scene::Medal::None;
        const ScreenRect medal = layout.medalArea(row);
        float right = area.x + area.width - inset;
        // Every row of a list with medals leaves their column free, so the times line up.
        for (const menu::MenuItem& other : items) {
            if (other.medal != scene::Medal::None) {
                right = medal.x - inset;
                break;
            }
        }
        glViewport(0, 0, width_, height_);
        overlay_.printText(item.label.c_str(), static_cast<int>(area.x + inset), y, glyph);
        const auto valueWidth = static_cast<float>(item.value.size() * glyph);
        overlay_.printText(item.value.c_str(), static_cast<int>(right - valueWidth), y, glyph);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        if (medals) {
            image(*medals_[static_cast<int>(item.medal) - 1], medal);
        }
        // Rows that cannot be chosen are veiled.
        if (!item.enabled) {
            image(*shade_, area);
            image(*shade_, area);
        }
    }
}

void MenuOverlay::drawDetails(const menu::Menu& menu, const menu::MenuLayout& layout) {
    if (menu.screen() == menu::Screen::Courses && menu.highlighted() >= 0) {
        const std::string& path = menu.courses()[menu.highlighted()].picturePath;
        if (const gl::Texture* texture = path.empty() ? nullptr : picture(path)) {
            glEnable(GL_BLEND);
            image(*texture, layout.picture());
        }
    }
    glViewport(0, 0, width_, height_);
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
