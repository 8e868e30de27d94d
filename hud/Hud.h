#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <glm/glm.hpp>

namespace common::gl {
class Texture;
}
namespace common::scene {
class Quad;
}

namespace common::hud {

struct GuidanceMark;
struct ScreenRect;
struct TextPlace;
class TextOverlay;

// The head-up display drawn over the composited frame: the altimeter dial with its needle, the score
// icon and score, the low-altitude warning, and the texts (countdown, finish, game over, points, frame
// rate, triangle count) through the TextOverlay. Owned by the renderer; owns its four textures and two
// quads. Needs a current GL context; sets up the TextOverlay singleton when built.
//
// GL state: every operation sets the viewport it needs and leaves it set; image operations enable
// blending and disable it again; texts leave blending disabled (see TextOverlay).
class Hud {
  public:
    static constexpr const char* kFontPath = "../resources/textures/font.png";
    static constexpr const char* kAltimeterPath = "../resources/textures/altimeter.png";
    static constexpr const char* kNeedlePath = "../resources/textures/arrow.png";
    static constexpr const char* kScorePath = "../resources/textures/score.png";
    static constexpr const char* kWarningPath = "../resources/textures/warn.png";
    static constexpr int kDialSize = 256;
    static constexpr int kIconSize = 128;
    // Right edge of the score icon with the score printed across it.
    static constexpr int kScoreRight = 10 + kIconSize + 26;

    // Throws TextureExc or GlslProgCompileExc when an image or the text program cannot be loaded.
    Hud(int width, int height);
    // The window's new size: every placement follows it from the next draw on.
    void resize(int newWidth, int newHeight);
    ~Hud();
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    // The overlay this Hud has set up, for other texts over the frame to print through.
    TextOverlay& textOverlay() const { return overlay; }

    // The dial in the lower-right corner and the needle turned by angleDegrees about the view axis.
    void drawAltimeter(float angleDegrees);
    // Shows countdownText(t); returns countdownOver(t).
    bool drawCountdown(double t);
    void drawAverageFps(float fps);
    void drawTriangleCount(std::int32_t count);
    void drawFinish();
    void drawPoints(std::int32_t points);
    void drawGameOver();
    void drawScoreIcon();
    // The score, inside the score icon.
    void drawScore(std::int32_t score);
    void drawWarning();
    // The guidance mark: the needle turned the way it points, and the distance above it.
    void drawGuidance(const GuidanceMark& mark);

    // Where the items above are drawn (the frame rate lines wherever they are shown; the preview strip
    // of the debug view only while it is on), for the guidance to keep clear of.
    std::vector<ScreenRect> occupiedAreas(bool debugView) const;
    // The same for a window of the given size, without a Hud.
    static std::vector<ScreenRect> occupiedAreas(int width, int height, bool debugView);
    // Where the texts in the middle of the window are drawn: the countdown digit, "Finish!", the
    // points (up to four digits) and "GAME OVER". Only one game state shows each, and never with the
    // guidance.
    static std::vector<ScreenRect> messageAreas(int width, int height);

    // "3" up to 1 s, "2" up to 2 s, "1" up to 3 s, then "0".
    static const char* countdownText(double t);
    // True once t has passed 4 s: the frame that still shows "0" ends the countdown.
    static bool countdownOver(double t);
    // The needle's rotation: identity turned by angleDegrees about +z.
    static glm::mat4 needleMatrix(float angleDegrees);

  private:
    void beginImage(int x, int y, int width, int height) const;
    void drawImage(const gl::Texture& texture, scene::Quad& quad) const;
    void printLine(const char* text, int x, int y, int size) const;
    // At a place given from the window's centre, or from its upper-left corner.
    void printCentred(const char* text, const TextPlace& place) const;
    void printFromTop(const char* text, const TextPlace& place) const;

    // The process-wide overlay, set up by this Hud and printed through by it.
    TextOverlay& overlay;
    int width = 0;
    int height = 0;
    std::unique_ptr<scene::Quad> plainQuad;
    std::unique_ptr<scene::Quad> needleQuad;
    std::unique_ptr<gl::Texture> altimeterTexture;
    std::unique_ptr<gl::Texture> needleTexture;
    std::unique_ptr<gl::Texture> scoreTexture;
    std::unique_ptr<gl::Texture> warningTexture;
};

}  // namespace common::hud
