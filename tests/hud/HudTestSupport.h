#pragma once

// Helpers for the HUD tests: a resources tree of predictable images (a font atlas whose every cell has its
// own colour, solid-colour HUD images) beside the staged shaders, and an off-screen colour target of the
// window's size to draw into and read back.

#include <GL/glew.h>

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace hudtest {

struct Rgba {
    int r, g, b, a;
};

inline bool operator==(const Rgba& x, const Rgba& y) {
    // One step of slack for the rounding of blending and filtering.
    return std::abs(x.r - y.r) <= 1 && std::abs(x.g - y.g) <= 1 && std::abs(x.b - y.b) <= 1 &&
           std::abs(x.a - y.a) <= 1;
}

inline std::ostream& operator<<(std::ostream& out, const Rgba& p) {
    return out << "(r " << p.r << ", g " << p.g << ", b " << p.b << ", a " << p.a << ")";
}

constexpr Rgba kBackground{10, 200, 30, 255};
constexpr Rgba kDialColour{200, 40, 40, 255};
constexpr Rgba kNeedleColour{40, 40, 200, 255};
constexpr Rgba kScoreColour{250, 250, 0, 255};
constexpr Rgba kWarningColour{250, 120, 0, 255};
constexpr Rgba kTransparent{0, 0, 0, 0};

// The colour of the test atlas's cell for a character: red tells the column, green the row. The blank's
// cell is fully transparent, as in a real font.
inline Rgba glyphColour(unsigned char code) {
    if (code == ' ') {
        return kTransparent;
    }
    return {16 * (code % 16) + 8, 16 * (code / 16) + 8, 90, 255};
}

// Writes a 32-bit PNG; pixel(x, y) is asked with y = 0 at the bottom row of the picture.
inline void writePng(const std::filesystem::path& path, int width, int height,
                     const std::function<Rgba(int, int)>& pixel) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 32);
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            const Rgba p = pixel(x, y);
            line[4 * x + FI_RGBA_RED] = static_cast<BYTE>(p.r);
            line[4 * x + FI_RGBA_GREEN] = static_cast<BYTE>(p.g);
            line[4 * x + FI_RGBA_BLUE] = static_cast<BYTE>(p.b);
            line[4 * x + FI_RGBA_ALPHA] = static_cast<BYTE>(p.a);
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0) == TRUE;
    FreeImage_Unload(bitmap);
    ASSERT_TRUE(saved) << path;
}

inline void writeSolidPng(const std::filesystem::path& path, Rgba colour) {
    writePng(path, 8, 8, [colour](int, int) { return colour; });
}

// 16 x 16 cells of 16 pixels; rows of cells count from the top of the picture.
inline void writeFontAtlas(const std::filesystem::path& path) {
    writePng(path, 256, 256, [](int x, int y) {
        const int column = x / 16;
        const int rowFromTop = (255 - y) / 16;
        return glyphColour(static_cast<unsigned char>(rowFromTop * 16 + column));
    });
}

// A game directory of its own: <tmp>/bin is the working directory, <tmp>/resources holds the test images,
// a flat height image (for the scene controller) and the staged shaders. The working directory is
// changed for the object's lifetime.
class StagedResources {
  public:
    // The needle: upper half opaque, lower half transparent, so its turn shows in the picture.
    static Rgba needlePixel(int, int y) { return y >= 4 ? kNeedleColour : kTransparent; }
    // The warning icon: left half opaque, right half transparent, so blending shows.
    static Rgba warningPixel(int x, int) { return x < 4 ? kWarningColour : kTransparent; }

    // shaderFamilies empty: the whole staged shader folder; otherwise only the families named.
    explicit StagedResources(const std::vector<std::string>& shaderFamilies = {})
        : cwd(prepare(dir, shaderFamilies)) {}

    std::filesystem::path textures() const { return dir.path() / "resources" / "textures"; }

  private:
    static std::filesystem::path prepare(const testsupport::TempDir& dir,
                                         const std::vector<std::string>& shaderFamilies) {
        namespace fs = std::filesystem;
        // Relative to the tests' working directory, build/stage/bin.
        const fs::path stagedShaders = fs::absolute("../resources/shaders");
        const fs::path resources = dir.path() / "resources";
        fs::create_directories(dir.path() / "bin");
        fs::create_directories(resources / "textures");
        fs::create_directories(resources / "meshes");
        if (shaderFamilies.empty()) {
            fs::create_directory_symlink(stagedShaders, resources / "shaders");
        } else {
            fs::create_directories(resources / "shaders");
            for (const std::string& family : shaderFamilies) {
                fs::create_directory_symlink(stagedShaders / family, resources / "shaders" / family);
            }
        }
        const fs::path textures = resources / "textures";
        writeFontAtlas(textures / "font.png");
        writeSolidPng(textures / "altimeter.png", kDialColour);
        writePng(textures / "arrow.png", 8, 8, needlePixel);
        writeSolidPng(textures / "score.png", kScoreColour);
        writePng(textures / "warn.png", 8, 8, warningPixel);
        writeHeightImage(resources / "meshes" / "heightmap.bmp");
        return dir.path() / "bin";
    }

    static void writeHeightImage(const std::filesystem::path& path) {
        FIBITMAP* bitmap = FreeImage_Allocate(8, 8, 24);
        const bool saved = FreeImage_Save(FIF_BMP, bitmap, path.c_str(), 0) == TRUE;
        FreeImage_Unload(bitmap);
        ASSERT_TRUE(saved) << path;
    }

    testsupport::TempDir dir;
    testsupport::ScopedCwd cwd;
};

// An RGBA8 framebuffer of the window's size, cleared to kBackground and bound while it lives.
class Target {
  public:
    Target(int width, int height) {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &framebuffer);
        bind();
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        clear();
    }
    ~Target() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &texture);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    void bind() const { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer); }

    bool complete() const { return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE; }

    // Clears to the background and leaves a one-pixel viewport behind, so a drawing operation that does
    // not set its own viewport shows at once.
    void clear() const {
        glClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glViewport(0, 0, 1, 1);
    }

    Rgba pixel(int x, int y) const {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    // How many pixels of the rectangle differ from colour.
    int countDifferent(int x, int y, int width, int height, Rgba colour) const {
        std::vector<unsigned char> p(static_cast<std::size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        int count = 0;
        for (std::size_t i = 0; i < p.size(); i += 4) {
            count += Rgba{p[i], p[i + 1], p[i + 2], p[i + 3]} == colour ? 0 : 1;
        }
        return count;
    }

  private:
    GLuint texture = 0;
    GLuint framebuffer = 0;
};

}  // namespace hudtest
