#include "gl/Texture.h"

#include <GL/glew.h>

#include <FreeImage.h>
#include <glm/glm.hpp>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "gl/TextureExc.h"
#include "tests/support/GlContext.h"
#include "tests/support/GlQueries.h"
#include "tests/support/Picture.h"
#include "tests/support/TestFiles.h"

using namespace common::gl;
using testsupport::texParameter;
// A pixel in FreeImage's memory order: blue, green, red, alpha.
using Bgra = glm::u8vec4;

namespace {

// Distinct colours for every pixel, so a shifted or sheared row shows up.
std::vector<Bgra> pattern(int width, int height, bool varyAlpha) {
    std::vector<Bgra> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.emplace_back(10 + 30 * x, 200 - 40 * y, 7 * x + 50 * y,
                                varyAlpha ? 40 + 20 * (x + y * width) : 255);
        }
    }
    return pixels;
}

// A 24- or 32-bit bitmap of the pixels (bottom row first); 24 bits leave alpha out.
FIBITMAP* bitmapOf(int width, int height, int bitsPerPixel, const std::vector<Bgra>& pixels) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bitsPerPixel);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::memcpy(FreeImage_GetScanLine(bitmap, y) + x * bitsPerPixel / 8, &pixels[y * width + x],
                        bitsPerPixel / 8);
        }
    }
    return bitmap;
}

// Level 0 as BGRA bytes, bottom row first (an RGB texture reads back with alpha 255).
std::vector<Bgra> readBack(const Texture& texture) {
    std::vector<Bgra> pixels(static_cast<std::size_t>(texParameter(texture.id, GL_TEXTURE_WIDTH, 0) *
                                                      texParameter(texture.id, GL_TEXTURE_HEIGHT, 0)));
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

class TextureTest : public testsupport::GlTest {
  protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    // Loading `file` throws `message`.
    static void expectFailure(const std::string& file, const std::string& message) {
        EXPECT_THAT([&] { Texture texture(file.c_str(), GL_TEXTURE_2D); },
                    ::testing::ThrowsMessage<TextureExc>(::testing::StrEq(message)));
    }

    testsupport::TempDir dir;
};

}  // namespace

// Failure messages are cut at 15000 characters.
TEST_F(TextureTest, ImagesUploadUnchangedUnreadableFilesThrowAndFiltersFollowTheSwitches) {
    const auto rgba = pattern(4, 2, true);
    const auto rgb = pattern(5, 3, false);         // 15-byte rows, which FreeImage pads to 16
    FIBITMAP* grey = FreeImage_Allocate(3, 1, 8);  // FreeImage gives 8-bit images a grey ramp palette
    std::memcpy(FreeImage_GetScanLine(grey, 0), "\x00\x64\xff", 3);
    FIBITMAP* grey16 = FreeImage_AllocateT(FIT_UINT16, 2, 1);
    std::memcpy(FreeImage_GetScanLine(grey16, 0), "\x00\x40\x00\x80", 4);  // 0x4000, 0x8000
    FIBITMAP* indexed = FreeImage_Allocate(2, 1, 8);
    FreeImage_GetPalette(indexed)[0] = RGBQUAD{0, 0, 255, 0};   // red
    FreeImage_GetPalette(indexed)[1] = RGBQUAD{255, 64, 0, 0};  // blue, made transparent below
    std::memcpy(FreeImage_GetScanLine(indexed, 0), "\x00\x01", 2);
    BYTE transparency[2] = {255, 0};
    FreeImage_SetTransparencyTable(indexed, transparency, 2);

    const std::tuple<const char*, FIBITMAP*, GLint, std::vector<Bgra>> cases[] = {
        {"rgba.png", bitmapOf(4, 2, 32, rgba), GL_RGBA, rgba},
        {"picture.skyringsdata", bitmapOf(4, 2, 32, rgba), GL_RGBA, rgba},  // known by its contents
        {"rgb.png", bitmapOf(5, 3, 24, rgb), GL_RGB, rgb},
        {"opaque32.png", bitmapOf(5, 3, 32, rgb), GL_RGB, rgb},  // 32 bits without transparency
        {"grey.png", grey, GL_RGB, {{0, 0, 0, 255}, {100, 100, 100, 255}, {255, 255, 255, 255}}},
        {"grey16.png", grey16, GL_RGB, {{0x40, 0x40, 0x40, 255}, {0x80, 0x80, 0x80, 255}}},  // high bytes
        {"indexed.png", indexed, GL_RGBA, {{0, 0, 255, 255}, {255, 64, 0, 0}}},
    };
    for (const auto& [file, bitmap, format, expected] : cases) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path(file).c_str(), 0));
        FreeImage_Unload(bitmap);
        Texture texture(path(file).c_str(), GL_TEXTURE_2D);
        EXPECT_EQ(texParameter(texture.id, GL_TEXTURE_INTERNAL_FORMAT, 0), format);
        EXPECT_EQ(readBack(texture), expected);
        EXPECT_EQ(texParameter(texture.id, GL_TEXTURE_WIDTH, 1),
                  texParameter(texture.id, GL_TEXTURE_WIDTH, 0) / 2);
    }
    EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));

    const std::string missing = path("missing.png");
    const std::string unknown = dir.write("empty.nosuchformat", "").string();
    const std::string emptyPng = dir.write("empty.png", "").string();
    const std::string corrupt =
        dir.write("corrupt.png", std::string("\x89PNG\r\n\x1a\n", 8) + "not really").string();
    for (const auto& [file, detail] :
         {std::pair{missing, ""}, {unknown, ":  Unkown type"}, {emptyPng, ""}, {corrupt, ""}}) {
        expectFailure(file, "Could not load texture file " + file + detail);
    }

    const std::string longPath = "/" + std::string(20000, 'x') + ".png";
    expectFailure(longPath, ("Could not load texture file " + longPath).substr(0, 15000));

    // The nearest filter with every mipmap mode, starting from a fresh texture's bilinear with linear
    // mipmaps; binding on unit 2 leaves unit 0 active, and destroying the texture deletes its name.
    testsupport::writePng(path("image.png"), 4, 4, [](int x, int y) {
        return testsupport::Picture::Rgba{std::uint8_t(60 * x), std::uint8_t(60 * y), 90, 255};
    });
    auto texture = std::make_unique<Texture>(path("image.png").c_str(), GL_TEXTURE_2D);
    const std::tuple<std::function<void()>, GLint, GLint> steps[] = {
        {[] {}, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
        {[&] { texture->setFilter(TextureFilter::Nearest); }, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
        {[&] { texture->setMipmapMode(MipmapMode::Off); }, GL_NEAREST, GL_NEAREST},
        {[&] { texture->setMipmapMode(MipmapMode::Nearest); }, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        // An unknown mode leaves the minification filter as it was. Bilinear with each mode is driven
        // through the game's keys by the renderer tests.
        {[&] { texture->setMipmapMode(static_cast<MipmapMode>(7)); }, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        {[&] { texture->setFilter(TextureFilter::Bilinear); }, GL_LINEAR, GL_NEAREST_MIPMAP_NEAREST},
    };
    int step = 0;
    for (const auto& [change, mag, min] : steps) {
        change();
        EXPECT_EQ(texParameter(texture->id, GL_TEXTURE_MAG_FILTER), mag) << "step " << step;
        EXPECT_EQ(texParameter(texture->id, GL_TEXTURE_MIN_FILTER), min) << "step " << step++;
    }
    EXPECT_EQ(testsupport::integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));

    texture->bind(2);
    EXPECT_EQ(testsupport::integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(testsupport::integer(GL_TEXTURE_BINDING_2D), 0);
    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ(static_cast<GLuint>(testsupport::integer(GL_TEXTURE_BINDING_2D)), texture->id);
    glActiveTexture(GL_TEXTURE0);
    const GLuint id = texture->id;
    texture.reset();
    EXPECT_EQ(glIsTexture(id), GL_FALSE);
}
