#pragma once

#include <memory>
#include <vector>

#include <glm/glm.hpp>

namespace common::gl {
class GlslProg;
class Texture;
}  // namespace common::gl

namespace common::hud {

// Draws single-line strings over the finished frame with a bitmap font: a 16 x 16 grid of glyph cells
// addressed by character code, each glyph a square of two triangles in window pixels, one draw call per
// string, or one for all the strings printed between beginBatch() and flush() (on a software renderer a
// draw call per string costs more than the pixels it fills). Owns the font texture, the text program, its two vertex
// buffers and a vertex array. One per process (instance()); the Hud sets width and height and then calls
// init() once.
//
// GL state: printText outside a batch, and flush, leave blending disabled, vertex array 0 bound and the
// text program bound; they use the viewport the caller set (the whole window). printText inside a batch
// makes no GL call.
class TextOverlay {
  public:
    static constexpr const char* kVertexShaderPath = "../resources/shaders/textShader/TextVertexShader.vert";
    static constexpr const char* kFragmentShaderPath =
        "../resources/shaders/textShader/TextFragmentShader.frag";
    // Side of one atlas cell in texture coordinates (16 cells across and down).
    static constexpr float kCell = 0.0625f;

    // Created on first use and never destroyed: its GL objects end with the context.
    static TextOverlay& instance();

    TextOverlay();
    ~TextOverlay();
    TextOverlay(const TextOverlay&) = delete;
    TextOverlay& operator=(const TextOverlay&) = delete;

    // Loads the font atlas and the text program and creates the buffers; needs a current GL context and
    // width and height set. Throws TextureExc or GlslProgCompileExc, leaving the overlay as it was.
    // May be called again (a later Hud): the new font and program replace the old ones.
    void init(const char* fontPath);

    // Draws text with the lower-left corner of its first glyph at (x, y) window pixels (origin lower
    // left, y up), every glyph a size x size square, on a window of the current width and height.
    // Does nothing before init or for an empty string.
    void printText(const char* text, int x, int y, int size);

    // Strings printed from here on are only collected, to be drawn together by flush(), in one draw
    // call at the width and height then current.
    void beginBatch();
    // Draws what the batch collected (nothing when it is empty) and ends the batch.
    void flush();

    // Six corners per character in the order (left, top), (left, bottom), (right, top), (right, bottom),
    // (right, top), (left, bottom), with the matching atlas coordinates. Clears both lists first.
    static void buildGlyphs(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                            std::vector<glm::vec2>& uvs);
    // The same corners added after those already in the lists.
    static void appendGlyphs(const char* text, int x, int y, int size, std::vector<glm::vec2>& positions,
                             std::vector<glm::vec2>& uvs);

    // The window's size in pixels; may change between calls (a resized window).
    float width = 0.0f;
    float height = 0.0f;

  private:
    void createVertexArray();
    // Draws the collected glyphs and empties the lists (kept allocated for the next frame).
    void drawCollected();

    std::unique_ptr<gl::Texture> fontTexture;
    std::unique_ptr<gl::GlslProg> program;
    unsigned int vertexBuffer = 0;
    unsigned int uvBuffer = 0;
    unsigned int vertexArray = 0;
    int samplerLocation = -1;
    int sizeLocation = -1;
    bool batching = false;
    std::vector<glm::vec2> positions;
    std::vector<glm::vec2> uvs;
};

}  // namespace common::hud
