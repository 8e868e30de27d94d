#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace common::gl {
class Texture;
}
namespace common::menu {
class Menu;
class MenuLayout;
struct MenuItem;
}  // namespace common::menu
namespace common::scene {
class Quad;
}

namespace common::hud {

struct ScreenRect;
class TextOverlay;

// Draws the menu over the finished frame as its MenuLayout places it: the generated panel, the title and rows
// in the game's font, a bar under the highlighted row, medal icons beside best times, the detail lines and,
// for courses, the course's picture. Owned by the renderer; prints through the TextOverlay the Hud set up.
// Needs a current GL context.
//
// GL state: sets the viewports it needs and leaves the whole window's set; blending is left disabled.
class MenuOverlay {
  public:
    static constexpr const char* kPanelPath = "../resources/textures/menu_panel.png";
    static constexpr const char* kHighlightPath = "../resources/textures/menu_highlight.png";
    static constexpr const char* kShadePath = "../resources/textures/menu_shade.png";
    static constexpr const char* kMedalPaths[3] = {"../resources/textures/medal_bronze.png",
                                                   "../resources/textures/medal_silver.png",
                                                   "../resources/textures/medal_gold.png"};

    // Throws TextureExc when one of its pictures cannot be loaded.
    explicit MenuOverlay(TextOverlay& overlay);
    ~MenuOverlay();
    MenuOverlay(const MenuOverlay&) = delete;
    MenuOverlay& operator=(const MenuOverlay&) = delete;

    // Nothing while the menu is closed.
    void draw(const menu::Menu& menu, int width, int height);

  private:
    void image(const gl::Texture& texture, const ScreenRect& area);
    void printRows(const std::vector<menu::MenuItem>& items, const menu::MenuLayout& layout);
    void printDetails(const menu::Menu& menu, const menu::MenuLayout& layout);
    void drawRowMarks(const std::vector<menu::MenuItem>& items, const menu::MenuLayout& layout);
    void drawPicture(const menu::Menu& menu, const menu::MenuLayout& layout);
    // The course's picture, loaded the first time it is shown; null when it cannot be read.
    const gl::Texture* picture(const std::string& path);

    TextOverlay& overlay_;
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<scene::Quad> quad_;
    std::unique_ptr<gl::Texture> panel_;
    std::unique_ptr<gl::Texture> highlight_;
    std::unique_ptr<gl::Texture> shade_;
    std::unique_ptr<gl::Texture> medals_[3];
    std::map<std::string, std::unique_ptr<gl::Texture>> pictures_;
};

}  // namespace common::hud
