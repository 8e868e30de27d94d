#pragma once

// Helpers shared by the GL tests: off-screen colour targets to draw into and read back, a full-screen
// quad with the game's attribute layout, temporary replacement of a GLEW entry point, and small images
// written with FreeImage.

#include <GL/glew.h>

#include <FreeImage.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace gltest {

// A framebuffer with one colour texture, bound for drawing (and reading) while it lives.
class ColorTarget {
  public:
    ColorTarget(int width, int height, GLenum internalFormat = GL_RGBA32F) : width_(width), height_(height) {
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &fbo_);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
        glViewport(0, 0, width, height);
    }
    ~ColorTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo_);
        glDeleteTextures(1, &texture_);
    }
    ColorTarget(const ColorTarget&) = delete;
    ColorTarget& operator=(const ColorTarget&) = delete;

    bool complete() const { return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE; }

    // RGBA floats, bottom row first.
    std::vector<float> read() const {
        std::vector<float> pixels(static_cast<std::size_t>(width_) * height_ * 4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_FLOAT, pixels.data());
        return pixels;
    }

    GLuint fbo() const { return fbo_; }

  private:
    int width_;
    int height_;
    GLuint texture_ = 0;
    GLuint fbo_ = 0;
};

// The game's quad: positions -1..1 at z = 0, normal +z, uv 0..1, two counter-clockwise triangles, with
// the attribute locations given (as the game's Quad looks them up by name).
class FullScreenQuad {
  public:
    FullScreenQuad(GLint positionLocation, GLint uvLocation, GLint normalLocation) {
        const float vertices[] = {
            // position          uv          normal
            -1.f, -1.f, 0.f, 0.f, 0.f, 0.f, 0.f, 1.f,  //
            1.f,  -1.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f,  //
            1.f,  1.f,  0.f, 1.f, 1.f, 0.f, 0.f, 1.f,  //
            -1.f, 1.f,  0.f, 0.f, 1.f, 0.f, 0.f, 1.f,
        };
        const GLuint indices[] = {0, 1, 2, 0, 2, 3};
        glGenVertexArrays(1, &vao_);
        glBindVertexArray(vao_);
        glGenBuffers(1, &vertexBuffer_);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
        glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
        glGenBuffers(1, &indexBuffer_);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(indices), indices, GL_STATIC_DRAW);
        enable(positionLocation, 3, 0);
        enable(uvLocation, 2, 3);
        enable(normalLocation, 3, 5);
        glBindVertexArray(0);
    }
    // The mesh layout: 0 position, 1 uv, 2 normal.
    FullScreenQuad() : FullScreenQuad(0, 1, 2) {}
    ~FullScreenQuad() {
        glDeleteBuffers(1, &vertexBuffer_);
        glDeleteBuffers(1, &indexBuffer_);
        glDeleteVertexArrays(1, &vao_);
    }
    FullScreenQuad(const FullScreenQuad&) = delete;
    FullScreenQuad& operator=(const FullScreenQuad&) = delete;

    void draw() const {
        glBindVertexArray(vao_);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
        glBindVertexArray(0);
    }

  private:
    static void enable(GLint location, GLint components, int offsetFloats) {
        if (location < 0) {
            return;
        }
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE,
                              8 * sizeof(float), reinterpret_cast<const void*>(offsetFloats * sizeof(float)));
    }

    GLuint vao_ = 0;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;
};

// Replaces one GLEW entry point (GLEW keeps them in global function pointers) for the object's lifetime.
template <typename Function>
class GlHook {
  public:
    GlHook(Function& entry, Function replacement) : entry_(entry), original_(entry) { entry_ = replacement; }
    ~GlHook() { entry_ = original_; }
    GlHook(const GlHook&) = delete;
    GlHook& operator=(const GlHook&) = delete;

    Function original() const { return original_; }

  private:
    Function& entry_;
    Function original_;
};

// Collects GL errors raised since the last call (empty when none).
inline std::vector<GLenum> glErrors() {
    std::vector<GLenum> errors;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        errors.push_back(error);
    }
    return errors;
}

// One pixel of a FreeImage bitmap in memory order (blue, green, red, alpha).
struct Bgra {
    std::uint8_t b, g, r, a;
};

inline bool operator==(const Bgra& x, const Bgra& y) {
    return x.b == y.b && x.g == y.g && x.r == y.r && x.a == y.a;
}

inline std::ostream& operator<<(std::ostream& out, const Bgra& p) {
    return out << "(r " << int(p.r) << ", g " << int(p.g) << ", b " << int(p.b) << ", a " << int(p.a) << ")";
}

// Writes a 24-bit (alpha ignored) or 32-bit image; pixels are given bottom row first.
inline bool writeImage(const std::filesystem::path& path, FREE_IMAGE_FORMAT format, int width, int height,
                       int bitsPerPixel, const std::vector<Bgra>& pixels, int flags = 0) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bitsPerPixel);
    const int bytesPerPixel = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            const Bgra& p = pixels[static_cast<std::size_t>(y * width + x)];
            BYTE* out = line + x * bytesPerPixel;
            out[FI_RGBA_BLUE] = p.b;
            out[FI_RGBA_GREEN] = p.g;
            out[FI_RGBA_RED] = p.r;
            if (bytesPerPixel == 4) {
                out[FI_RGBA_ALPHA] = p.a;
            }
        }
    }
    const bool saved = FreeImage_Save(format, bitmap, path.c_str(), flags) == TRUE;
    FreeImage_Unload(bitmap);
    return saved;
}

}  // namespace gltest
