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
namespace {

// Large enough for any formatted int or float line of the display.
constexpr std::size_t kLineLength = 128;
// The guidance mark: the needle in the lower part of its square, the distance in the upper part.
constexpr int kGuidanceNeedleSize = 44;
constexpr int kGuidanceTextSize = 14;
// The longest frame-rate line ("Triangle count: " and a count) at its size of 20.
constexpr int kFpsLinesWidth = 440;

}  // namespace

Hud::Hud(int width, int height) {
    resize(width, height);
    TextOverlay::instance().init(kFontPath);

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
    TextOverlay& overlay = TextOverlay::instance();
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
    TextOverlay::instance().printText(text, x, y, size);
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
    printLine(countdownText(t), width / 2 - 40, height / 2, 80);
    return countdownOver(t);
}

void Hud::drawAverageFps(float fps) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, "Avg. FPS: %.2f", static_cast<double>(fps));
    printLine(line, 10, height - 50, 20);
}

void Hud::drawTriangleCount(std::int32_t count) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, "Triangle count: %i", static_cast<int>(count));
    printLine(line, 10, height - 80, 20);
}

void Hud::drawFinish() {
    printLine("Finish!", width / 2 - 140, height / 2, 40);
}

void Hud::drawPoints(std::int32_t points) {
    char line[kLineLength];
    std::snprintf(line, sizeof line, "Your Points: %i", static_cast<int>(points));
    printLine(line, width / 2 - 320, height / 2 - 60, 40);
}

void Hud::drawGameOver() {
    printLine("GAME OVER", width / 2 - 225, height / 2, 50);
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
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    std::vector<ScreenRect> areas{
        {w - kDialSize, 0.0f, kDialSize, kDialSize},
        // The score icon with the score printed across it.
        {10.0f, 15.0f, kIconSize + 26.0f, kIconSize},
        {10.0f, static_cast<float>(height / 2), kIconSize, kIconSize},
        {10.0f, h - 80.0f, kFpsLinesWidth, 50.0f},
    };
    if (debugView) {
        areas.push_back({0.0f, 0.0f, w, static_cast<float>(scene::render_passes::kPreviewSize)});
    }
    return areas;
}

void Hud::drawWarning() {
    beginImage(10, height / 2, kIconSize, kIconSize);
    drawImage(*warningTexture, *plainQuad);
    glDisable(GL_BLEND);
}

}  // namespace common::hud
