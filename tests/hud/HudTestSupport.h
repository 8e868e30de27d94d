#pragma once

// Shared by the HUD tests: a game directory of predictable pictures (a font atlas whose every cell has a
// colour of its own, single-colour HUD images) beside the staged shaders, and a fixture that draws into an
// 800 x 600 framebuffer and reads its pixels back.

#include <GL/glew.h>

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

namespace hudtest {

struct Rgba {
    int r, g, b, a;
};

// One step of slack for the rounding of blending and filtering.
inline bool operator==(const Rgba& x, const Rgba& y) {
    return std::abs(x.r - y.r) <= 1 && std::abs(x.g - y.g) <= 1 && std::abs(x.b - y.b) <= 1 &&
           std::abs(x.a - y.a) <= 1;
}

inline std::ostream& operator<<(std::ostream& out, const Rgba& p) {
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

constexpr Rgba kBackground{10, 200, 30, 255};
constexpr Rgba kDial{200, 40, 40, 255};
constexpr Rgba kNeedle{40, 40, 200, 255};
constexpr Rgba kScore{250, 250, 0, 255};
constexpr Rgba kWarning{250, 120, 0, 255};
constexpr Rgba kClear{0, 0, 0, 0};

// The test atlas's cell colour for a character: red tells the column, green the row; the blank is clear.
inline Rgba glyphColour(char c) {
    const int code = static_cast<unsigned char>(c);
    return c == ' ' ? kClear : Rgba{16 * (code % 16) + 8, 16 * (code / 16) + 8, 90, 255};
}

// A square 32-bit PNG; pixel(x, y) is asked with y = 0 at the bottom row.
inline void writePng(const std::filesystem::path& path, int size,
                     const std::function<Rgba(int, int)>& pixel) {
    FIBITMAP* bitmap = FreeImage_Allocate(size, size, 32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba p = pixel(x, y);
            const BYTE bgra[4] = {BYTE(p.b), BYTE(p.g), BYTE(p.r), BYTE(p.a)};
            std::memcpy(FreeImage_GetScanLine(bitmap, y) + 4 * x, bgra, 4);
        }
    }
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0)) << path;
    FreeImage_Unload(bitmap);
}

// A game directory of its own, the working directory while the object lives (<tmp>/bin): the test
// pictures (the needle's upper half and the warning's left half opaque), a flat height image for the
// scene controller, and the staged shaders (all, or the families named).
class StagedResources {
  public:
    explicit StagedResources(const std::vector<std::string>& shaderFamilies = {}) {
        namespace fs = std::filesystem;
        const fs::path staged = fs::absolute("../resources/shaders");
        const fs::path resources = dir.path() / "resources";
        fs::create_directories(dir.path() / "bin");
        fs::create_directories(resources / "textures");
        fs::create_directories(resources / "meshes");
        if (shaderFamilies.empty()) {
            fs::create_directory_symlink(staged, resources / "shaders");
        }
        for (const std::string& family : shaderFamilies) {
            fs::create_directories(resources / "shaders");
            fs::create_directory_symlink(staged / family, resources / "shaders" / family);
        }
        writePng(resources / "textures/font.png", 256,
                 [](int x, int y) { return glyphColour(char((255 - y) / 16 * 16 + x / 16)); });
        writePng(resources / "textures/altimeter.png", 8, [](int, int) { return kDial; });
        writePng(resources / "textures/arrow.png", 8, [](int, int y) { return y >= 4 ? kNeedle : kClear; });
        writePng(resources / "textures/score.png", 8, [](int, int) { return kScore; });
        writePng(resources / "textures/warn.png", 8, [](int x, int) { return x < 4 ? kWarning : kClear; });
        FIBITMAP* flat = FreeImage_Allocate(8, 8, 24);
        EXPECT_TRUE(FreeImage_Save(FIF_BMP, flat, (resources / "meshes/heightmap.bmp").c_str(), 0));
        FreeImage_Unload(flat);
        cwd = std::make_unique<testsupport::ScopedCwd>(dir.path() / "bin");
    }

  private:
    testsupport::TempDir dir;
    std::unique_ptr<testsupport::ScopedCwd> cwd;
};

// Draws into an 800 x 600 RGBA8 framebuffer (the window's size) inside StagedResources.
class HudFixture : public testsupport::GlTest {
  protected:
    void SetUp() override {
        GlTest::SetUp();
        resources = std::make_unique<StagedResources>();
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 800, 600, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        clear();
    }

    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &texture);
        resources.reset();
    }

    // Binds and clears the target, leaving a one-pixel viewport: drawing that does not set its own shows.
    void clear() const {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glViewport(0, 0, 1, 1);
    }

    static Rgba pixel(int x, int y) {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    // Each glyph's cell colour a tenth of the size inside two opposite corners (clear of the filtering
    // across cell borders), and the background just outside the line.
    static void expectText(const std::string& text, int x, int y, int size) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int left = x + static_cast<int>(i) * size;
            const Rgba colour = text[i] == ' ' ? kBackground : glyphColour(text[i]);
            EXPECT_EQ(pixel(left + size / 10, y + size / 10), colour) << "'" << text[i] << "' at " << left;
            EXPECT_EQ(pixel(left + size - 1 - size / 10, y + size - 1 - size / 10), colour) << "at " << left;
        }
        const int right = x + static_cast<int>(text.size()) * size;
        for (auto [outsideX, outsideY] : {std::pair{x - 1, y + size / 2},
                                          {right, y + size / 2},
                                          {x + size / 2, y - 1},
                                          {x + size / 2, y + size}}) {
            EXPECT_EQ(pixel(outsideX, outsideY), kBackground) << outsideX << ", " << outsideY;
        }
    }

    std::unique_ptr<StagedResources> resources;
    GLuint texture = 0;
    GLuint framebuffer = 0;
};

}  // namespace hudtest
