#include "gl/Texture.h"

#include <GL/glew.h>

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gl/TextureExc.h"
#include "tests/gl/GlTestHelpers.h"
#include "tests/support/GlContext.h"
#include "tests/support/TestFiles.h"

using common::gl::MipmapMode;
using common::gl::Texture;
using common::gl::TextureExc;
using common::gl::TextureFilter;
using gltest::Bgra;

namespace {

// Distinct colours for every pixel, so a shifted or sheared row shows up.
std::vector<Bgra> pattern(int width, int height, bool varyAlpha) {
    std::vector<Bgra> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto a = static_cast<std::uint8_t>(varyAlpha ? 40 + 20 * (x + y * width) : 255);
            pixels.push_back({static_cast<std::uint8_t>(10 + 30 * x), static_cast<std::uint8_t>(200 - 40 * y),
                              static_cast<std::uint8_t>(7 * x + 50 * y), a});
        }
    }
    return pixels;
}

GLint levelParameter(const Texture& texture, GLint level, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint parameter(const Texture& texture, GLenum name) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// Level 0 as BGRA bytes, bottom row first (an RGB texture reads back with alpha 255).
std::vector<Bgra> readBack(const Texture& texture) {
    const GLint width = levelParameter(texture, 0, GL_TEXTURE_WIDTH);
    const GLint height = levelParameter(texture, 0, GL_TEXTURE_HEIGHT);
    std::vector<Bgra> pixels(static_cast<std::size_t>(width * height));
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return pixels;
}

class TextureTest : public testsupport::GlTest {
  protected:
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }

    std::string writeImage(const std::string& name, FREE_IMAGE_FORMAT format, int width, int height, int bpp,
                           const std::vector<Bgra>& pixels, int flags = 0) const {
        EXPECT_TRUE(gltest::writeImage(path(name), format, width, height, bpp, pixels, flags));
        return path(name);
    }

    // Loads a file that must fail and returns the exception's text.
    static std::string failure(const std::string& file) {
        try {
            Texture texture(file.c_str(), GL_TEXTURE_2D);
        } catch (const TextureExc& error) {
            return error.what();
        }
        return "(loaded)";
    }

    testsupport::TempDir dir;
};

}  // namespace

// --- formats: what FreeImage reads is uploaded unchanged, bottom row first ---

TEST_F(TextureTest, ARgbaPngIsUploadedAsRgba) {
    const auto pixels = pattern(4, 2, true);
    Texture texture(writeImage("rgba.png", FIF_PNG, 4, 2, 32, pixels).c_str(), GL_TEXTURE_2D);
    EXPECT_NE(texture.id, 0u);
    EXPECT_EQ(texture.target, static_cast<GLenum>(GL_TEXTURE_2D));
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_HEIGHT), 2);
    EXPECT_EQ(readBack(texture), pixels);
    // A full mipmap chain: 4 x 2, 2 x 1, 1 x 1.
    EXPECT_EQ(levelParameter(texture, 1, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(levelParameter(texture, 2, GL_TEXTURE_WIDTH), 1);
    EXPECT_TRUE(gltest::glErrors().empty());
}

TEST_F(TextureTest, RgbPngAndJpegAreUploadedAsRgb) {
    const auto pixels = pattern(4, 2, false);
    Texture png(writeImage("rgb.png", FIF_PNG, 4, 2, 24, pixels).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(levelParameter(png, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(readBack(png), pixels);

    const std::vector<Bgra> flat(64, Bgra{50, 100, 200, 255});
    Texture jpeg(writeImage("flat.jpg", FIF_JPEG, 8, 8, 24, flat, JPEG_QUALITYSUPERB).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(levelParameter(jpeg, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    for (const Bgra& p : readBack(jpeg)) {
        EXPECT_NEAR(p.r, 200, 3);
        EXPECT_NEAR(p.g, 100, 3);
        EXPECT_NEAR(p.b, 50, 3);
    }
}

TEST_F(TextureTest, AFileIsRecognisedByItsContentsWhateverItsName) {
    const auto pixels = pattern(2, 2, true);
    Texture texture(writeImage("picture.skyringsdata", FIF_PNG, 2, 2, 32, pixels).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(readBack(texture), pixels);
}

TEST_F(TextureTest, OddWidth24BitRowsAreNotSheared) {
    // FreeImage pads each 15-byte row to 16 bytes.
    const auto pixels = pattern(5, 3, false);
    Texture png(writeImage("odd.png", FIF_PNG, 5, 3, 24, pixels).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(readBack(png), pixels);
    Texture bmp(writeImage("odd.bmp", FIF_BMP, 5, 3, 24, pixels).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(readBack(bmp), pixels);
}

TEST_F(TextureTest, Opaque32BitImagesAreReadAsFourBytesPerPixel) {
    // FreeImage calls a 32-bit image without transparency RGB: it must still be read with its fourth byte.
    const auto pixels = pattern(3, 3, false);
    Texture texture(writeImage("opaque32.png", FIF_PNG, 3, 3, 32, pixels).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(readBack(texture), pixels);
}

TEST_F(TextureTest, GreyscaleImagesBecomeGreyRgb) {
    FIBITMAP* grey = FreeImage_Allocate(3, 2, 8);  // FreeImage gives 8-bit images a grey ramp palette
    const BYTE values[2][3] = {{0, 100, 255}, {30, 60, 90}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            FreeImage_GetScanLine(grey, y)[x] = values[y][x];
        }
    }
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, grey, path("grey.png").c_str(), 0));
    FreeImage_Unload(grey);

    Texture texture(path("grey.png").c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    const auto pixels = readBack(texture);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const BYTE v = values[y][x];
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 3 + x)], (Bgra{v, v, v, 255})) << x << "," << y;
        }
    }
}

TEST_F(TextureTest, SixteenBitGreyscaleKeepsItsBrightness) {
    FIBITMAP* grey = FreeImage_AllocateT(FIT_UINT16, 2, 1);
    auto* line = reinterpret_cast<WORD*>(FreeImage_GetScanLine(grey, 0));
    line[0] = 0x4000;
    line[1] = 0x8000;
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, grey, path("grey16.png").c_str(), 0));
    FreeImage_Unload(grey);

    Texture texture(path("grey16.png").c_str(), GL_TEXTURE_2D);
    const auto pixels = readBack(texture);
    EXPECT_EQ(pixels[0], (Bgra{0x40, 0x40, 0x40, 255}));
    EXPECT_EQ(pixels[1], (Bgra{0x80, 0x80, 0x80, 255}));
}

TEST_F(TextureTest, PalettisedImagesKeepTheirColoursAndTransparency) {
    FIBITMAP* indexed = FreeImage_Allocate(2, 2, 8);
    RGBQUAD* palette = FreeImage_GetPalette(indexed);
    palette[0] = RGBQUAD{0, 0, 255, 0};   // red
    palette[1] = RGBQUAD{255, 64, 0, 0};  // blue, fully transparent below
    for (int y = 0; y < 2; ++y) {
        FreeImage_GetScanLine(indexed, y)[0] = 0;
        FreeImage_GetScanLine(indexed, y)[1] = 1;
    }
    BYTE transparency[2] = {255, 0};
    FreeImage_SetTransparencyTable(indexed, transparency, 2);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, indexed, path("indexed.png").c_str(), 0));
    FreeImage_Unload(indexed);

    Texture texture(path("indexed.png").c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    const auto pixels = readBack(texture);
    EXPECT_EQ(pixels[0], (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(pixels[1], (Bgra{255, 64, 0, 0}));
    EXPECT_EQ(pixels[2], pixels[0]);
    EXPECT_EQ(pixels[3], pixels[1]);
}

// --- files that cannot be loaded ---

TEST_F(TextureTest, UnreadableFilesThrowTheirMessages) {
    const std::string missing = path("missing.png");
    EXPECT_EQ(failure(missing), "Could not load texture file " + missing);

    const std::string unknown = dir.write("empty.nosuchformat", "").string();
    EXPECT_EQ(failure(unknown), "Could not load texture file " + unknown + ":  Unkown type");

    const std::string emptyPng = dir.write("empty.png", "").string();
    EXPECT_EQ(failure(emptyPng), "Could not load texture file " + emptyPng);

    const std::string corrupt =
        dir.write("corrupt.png", std::string("\x89PNG\r\n\x1a\n", 8) + "not really").string();
    EXPECT_EQ(failure(corrupt), "Could not load texture file " + corrupt);
}

TEST_F(TextureTest, LongPathsAreCutInTheMessage) {
    const std::string longPath = "/" + std::string(20000, 'x') + ".png";
    EXPECT_EQ(failure(longPath).size(), 15000u);
}

// --- filters ---

TEST_F(TextureTest, AFreshTextureIsBilinearWithLinearMipmaps) {
    Texture texture(writeImage("f.png", FIF_PNG, 4, 4, 24, pattern(4, 4, false)).c_str(), GL_TEXTURE_2D);
    EXPECT_EQ(texture.filterMode, TextureFilter::Bilinear);
    EXPECT_EQ(texture.mipmapMode, MipmapMode::Linear);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
}

TEST_F(TextureTest, EverySwitchAppliesTheFilterTable) {
    Texture texture(writeImage("f.png", FIF_PNG, 4, 4, 24, pattern(4, 4, false)).c_str(), GL_TEXTURE_2D);
    struct Step {
        bool setFilter;
        int value;
        GLint mag;
        GLint min;
    };
    const Step steps[] = {
        {false, 0, GL_LINEAR, GL_LINEAR},  // bilinear, mipmaps off
        {true, 0, GL_NEAREST, GL_NEAREST},
        {false, 1, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        {false, 2, GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR},
        {true, 1, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR},
        {false, 1, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
        {true, 0, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
        {false, 0, GL_NEAREST, GL_NEAREST},
        {true, 1, GL_LINEAR, GL_LINEAR},
    };
    for (const Step& step : steps) {
        if (step.setFilter) {
            texture.setFilter(static_cast<TextureFilter>(step.value));
        } else {
            texture.setMipmapMode(static_cast<MipmapMode>(step.value));
        }
        EXPECT_EQ(parameter(texture, GL_TEXTURE_MAG_FILTER), step.mag)
            << (step.setFilter ? "filter " : "mode ") << step.value;
        EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), step.min)
            << (step.setFilter ? "filter " : "mode ") << step.value;
    }
    EXPECT_EQ(texture.filterMode, TextureFilter::Bilinear);
    EXPECT_EQ(texture.mipmapMode, MipmapMode::Off);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(TextureTest, AnUnknownModeLeavesTheMinificationFilter) {
    Texture texture(writeImage("f.png", FIF_PNG, 4, 4, 24, pattern(4, 4, false)).c_str(), GL_TEXTURE_2D);
    texture.setMipmapMode(static_cast<MipmapMode>(7));
    texture.setFilter(TextureFilter::Nearest);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_TRUE(gltest::glErrors().empty());
}

// --- binding and lifetime ---

TEST_F(TextureTest, BindingOnUnitTwoLeavesUnitZeroActive) {
    Texture texture(writeImage("b.png", FIF_PNG, 2, 2, 24, pattern(2, 2, false)).c_str(), GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    texture.bind(2);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    glActiveTexture(GL_TEXTURE2);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.id);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(TextureTest, DestroyingATextureDeletesItsGlName) {
    GLuint id = 0;
    {
        Texture texture(writeImage("d.png", FIF_PNG, 2, 2, 24, pattern(2, 2, false)).c_str(), GL_TEXTURE_2D);
        id = texture.id;
        EXPECT_EQ(glIsTexture(id), GL_TRUE);
    }
    EXPECT_EQ(glIsTexture(id), GL_FALSE);
}
