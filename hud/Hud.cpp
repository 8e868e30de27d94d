#include "hud/Hud.h"

#include <cstdio>

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/Angles.h"
#include "game/GamePhase.h"
#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "gl/Texture.h"
#include "hud/Guidance.h"
#include "hud/TextOverlay.h"
#include "scene/Quad.h"
#include "scene/RenderPasses.h"

namespace common::hud {

// A text's first glyph: its lower-left corner as an offset from a window point, and its glyph size.
struct TextPlace {
    int dx;
    int dy;
    int size;
};

namespace {

// Large enough for any formatted int or float line of the display.
constexpr std::size_t kLineLength = 128;
// The guidance mark: the needle in the lower part of its square, the distance in the upper part.
constexpr int kGuidanceNeedleSize = 44;
constexpr int kGuidanceTextSize = 14;

// From the window's centre (half sizes truncated).
constexpr TextPlace kCountdownPlace{-40, 0, 80};
constexpr TextPlace kFinishPlace{-140, 0, 40};
constexpr TextPlace kPointsPlace{-320, -60, 40};
constexpr TextPlace kGameOverPlace{-225, 0, 50};
// From the window's upper-left corner.
constexpr TextPlace kFpsPlace{10, -50, 20};
constexpr TextPlace kTrianglesPlace{10, -80, 20};
// The longest lines the areas allow for: a frame rate below 10000 ("Avg. FPS: 9999.99"), a triangle
// count below a million, points below 10000 ("Your Points: 9999").
constexpr int kFpsGlyphs = 17;
constexpr int kTrianglesGlyphs = 22;
constexpr int kPointsGlyphs = 17;

ScreenRect areaOf(const TextPlace& place, int originX, int originY, int glyphs) {
    return {static_cast<float>(originX + place.dx), static_cast<float>(originY + place.dy),
            static_cast<float>(glyphs * place.size), static_cast<float>(place.size)};
}

}  // namespace

Hud::Hud(int width, int height) : overlay(TextOverlay::instance()) {
    resize(width, height);
    overlay.init(kFontPath);

    plainQuad = std::make_unique<scene::Quad>();
    needleQuad = std::make_unique<scene::Quad>();
    needleQuad->shader = gl::ShaderController::instance().getShader(gl::ShaderType::ArrowShader);

    altimeterTexture = std::make_unique<gl::Texture>(kAltimeterPath, GL_TEXTURE_2D);
    needleTexture = std::make_unique<gl::Texture>(kNeedlePath, GL_TEXTURE_2D);
    scoreTexture = std::make_unique<gl::Texture>(kScorePath, GL_TEXTURE_2D);
    warningTexture = std::make_unique<gl::Texture>(kWarningPath, GL_TEXTURE_2D);
}

Hud::~Hud() = default;

void Hud::resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    overlay.width = static_cast<float>(newWidth);
    overlay.height = static_cast<float>(newHeight);
}

const char* Hud::countdownText(double t) {
    static const char* const kNumbers[] = {"0", "1", "2", "3"};
    return kNumbers[scene::GamePhase::countdownNumber(t)];
}

bool Hud::countdownOver(double t) {
    return t > scene::GamePhase::kCountdownEnd;
}

glm::mat4 Hud::needleMatrix(float angleDegrees) {
    const auto radians = static_cast<float>(toRadians(static_cast<double>(angleDegrees)));
    return glm::rotate(glm::mat4(1.0f), radians, glm::vec3(0.0f, 0.0f, 1.0f));
}

void Hud::beginImage(int x, int y, int viewportWidth, int viewportHeight) const {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(x, y, viewportWidth, viewportHeight);
}

void Hud::drawImage(const gl::Texture& texture, scene::Quad& quad) const {
    texture.bind(0);
    quad.draw();
}

void Hud::printLine(const char* text, int x, int y, int size) const {
    glViewport(0, 0, width, height);
    overlay.printText(text, x, y, size);
}

void Hud::printCentred(const char* text, const TextPlace& place) const {
    printLine(text, width / 2 + place.dx, height / 2 + place.dy, place.size);
}

void Hud::printFromTop(const char* text, const TextPlace& place) const {
    printLine(text, place.dx, height + place.dy, place.size);
}

void Hud::drawAltimeter(float angleDegrees) {
    beginImage(width - kDialSize, 0, kDialSize, kDialSize);
    drawImage(*altimeterTexture, *plainQuad);
    // Without the arrow program the needle is left out; the dial alone is still drawn.
    if (gl::GlslProg* arrow = needleQuad->shader) {
        arrow->bind();
        arrow->setUniform("rotate", needleMatrix(angleDegrees));
        drawImage(*needleTexture, *needleQuad);
    }
    glDisable(GL_BLEND);
}

bool Hud::drawCountdown(double t) {
    printCentred(countdownText(t), kCountdownPlace);
    return countdownOver(t);
}

void Hud::drawAverageFps(float fps) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, "Avg. FPS: %.2f", static_cast<double>(fps));
    printFromTop(line, kFpsPlace);
}

void Hud::drawTriangleCount(std::int32_t count) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, "Triangle count: %i", static_cast<int>(count));
    printFromTop(line, kTrianglesPlace);
}

void Hud::drawFinish() {
    printCentred("Finish!", kFinishPlace);
}

void Hud::drawPoints(std::int32_t points) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, "Your Points: %i", static_cast<int>(points));
    printCentred(line, kPointsPlace);
}

void Hud::drawGameOver() {
    printCentred("GAME OVER", kGameOverPlace);
}

void Hud::drawScoreIcon() {
    beginImage(10, 15, kIconSize, kIconSize);
    drawImage(*scoreTexture, *plainQuad);
    glDisable(GL_BLEND);
}

void Hud::drawScore(std::int32_t score) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, " %i", static_cast<int>(score));
    printLine(line, 44, 64, 20);
}

void Hud::drawGuidance(const GuidanceMark& mark) {
    const auto left = static_cast<int>(mark.area.x);
    const auto bottom = static_cast<int>(mark.area.y);
    const auto size = static_cast<int>(mark.area.width);
    if (gl::GlslProg* arrow = needleQuad->shader) {
        beginImage(left + (size - kGuidanceNeedleSize) / 2, bottom, kGuidanceNeedleSize, kGuidanceNeedleSize);
        arrow->bind();
        // The needle's picture points up: turn it from there to the mark's way.
        arrow->setUniform("rotate", needleMatrix(mark.angleDegrees - 90.0f));
        drawImage(*needleTexture, *needleQuad);
        glDisable(GL_BLEND);
    }
    char line[kLineLength];
    const int length = std::snprintf(line, sizeof line, "%.0f", static_cast<double>(mark.distance));
    printLine(line, left + (size - length * kGuidanceTextSize) / 2, bottom + size - kGuidanceTextSize,
              kGuidanceTextSize);
}

std::vector<ScreenRect> Hud::occupiedAreas(bool debugView) const {
    return occupiedAreas(width, height, debugView);
}

std::vector<ScreenRect> Hud::occupiedAreas(int width, int height, bool debugView) {
    const auto w = static_cast<float>(width);
    std::vector<ScreenRect> areas{
        {w - kDialSize, 0.0f, kDialSize, kDialSize},
        // The score icon with the score printed across it.
        {10.0f, 15.0f, kScoreRight - 10.0f, kIconSize},
        {10.0f, static_cast<float>(height / 2), kIconSize, kIconSize},
        areaOf(kFpsPlace, 0, height, kFpsGlyphs),
        areaOf(kTrianglesPlace, 0, height, kTrianglesGlyphs),
    };
    if (debugView) {
        areas.push_back({0.0f, 0.0f, w, static_cast<float>(scene::render_passes::kPreviewSize)});
    }
    return areas;
}

std::vector<ScreenRect> Hud::messageAreas(int width, int height) {
    const int centreX = width / 2;
    const int centreY = height / 2;
    return {areaOf(kCountdownPlace, centreX, centreY, 1), areaOf(kFinishPlace, centreX, centreY, 7),
            areaOf(kPointsPlace, centreX, centreY, kPointsGlyphs),
            areaOf(kGameOverPlace, centreX, centreY, 9)};
}

void Hud::drawWarning() {
    beginImage(10, height / 2, kIconSize, kIconSize);
    drawImage(*warningTexture, *plainQuad);
    glDisable(GL_BLEND);
}

}  // namespace common::hud
