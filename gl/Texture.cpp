#include "gl/Texture.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <FreeImage.h>

#include "gl/TextureExc.h"

namespace common::gl {
namespace {

struct BitmapDeleter {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

const char* const kReasonSeparator = ":  ";

std::string loadFailure(const char* path) {
    return std::string("Could not load texture file ") + path;
}

std::string loadFailure(const char* path, const char* reason) {
    return loadFailure(path) + kReasonSeparator + reason;
}

Bitmap loadBitmap(const char* path) {
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(path);
    }
    if (format == FIF_UNKNOWN) {
        throw TextureExc(loadFailure(path, "Unkown type"));
    }
    Bitmap bitmap;
    if (FreeImage_FIFSupportsReading(format)) {
        bitmap.reset(FreeImage_Load(format, path, 0));
    }
    if (!bitmap) {
        throw TextureExc(loadFailure(path));
    }
    if (!FreeImage_GetBits(bitmap.get()) || FreeImage_GetWidth(bitmap.get()) == 0 ||
        FreeImage_GetHeight(bitmap.get()) == 0) {
        throw TextureExc(loadFailure(path, "bits, width or heigt is zero"));
    }
    return bitmap;
}

// The upload reads 24-bit BGR or 32-bit BGRA pixels. Anything else (palettised, greyscale, 16-bit,
// 48/64-bit, floating point) is converted to 32-bit BGRA first, keeping any transparency, so the upload
// never reads past the bitmap's pixel data. Formats FreeImage cannot convert (RGB float) are refused.
Bitmap toBgrOrBgra(Bitmap bitmap, const char* path) {
    switch (FreeImage_GetImageType(bitmap.get())) {
        case FIT_BITMAP:
        case FIT_RGB16:
        case FIT_RGBA16:
            break;  // converted below (16-bit channels keep their high byte)
        case FIT_UINT16:
            // The high byte keeps the image's brightness; a linear rescale would stretch it to 0..255.
            bitmap.reset(FreeImage_ConvertTo8Bits(bitmap.get()));
            break;
        default:
            bitmap.reset(FreeImage_ConvertToType(bitmap.get(), FIT_BITMAP, TRUE));
            break;
    }
    if (bitmap && (FreeImage_GetImageType(bitmap.get()) != FIT_BITMAP ||
                   (FreeImage_GetBPP(bitmap.get()) != 24 && FreeImage_GetBPP(bitmap.get()) != 32))) {
        bitmap.reset(FreeImage_ConvertTo32Bits(bitmap.get()));
    }
    if (!bitmap) {
        throw TextureExc(loadFailure(path, "unsupported pixel format"));
    }
    return bitmap;
}

struct PixelLayout {
    GLint internalFormat;
    GLenum pixelFormat;
    unsigned bytesPerPixel;
};

PixelLayout pixelLayoutOf(FIBITMAP* bitmap) {
    if (FreeImage_GetBPP(bitmap) == 24) {
        return {GL_RGB, GL_BGR, 3};
    }
    // 32-bit pixels are always read as BGRA; only images that really use their alpha keep it.
    const bool hasAlpha = FreeImage_GetColorType(bitmap) == FIC_RGBALPHA;
    return {hasAlpha ? GL_RGBA : GL_RGB, GL_BGRA, 4};
}

// FreeImage pads every row to a multiple of 4 bytes; GL is told the rows are tightly packed, so padded
// rows are repacked first (otherwise odd-width 24-bit images come out sheared).
std::vector<BYTE> packedRows(FIBITMAP* bitmap, unsigned rowBytes) {
    const unsigned height = FreeImage_GetHeight(bitmap);
    std::vector<BYTE> packed(static_cast<std::size_t>(rowBytes) * height);
    for (unsigned row = 0; row < height; ++row) {
        std::memcpy(packed.data() + static_cast<std::size_t>(row) * rowBytes,
                    FreeImage_GetScanLine(bitmap, row), rowBytes);
    }
    return packed;
}

bool minFilterFor(TextureFilter filter, MipmapMode mode, GLint& minFilter) {
    const bool nearest = filter == TextureFilter::Nearest;
    switch (mode) {
        case MipmapMode::Off:
            minFilter = nearest ? GL_NEAREST : GL_LINEAR;
            return true;
        case MipmapMode::Nearest:
            minFilter = nearest ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_NEAREST;
            return true;
        case MipmapMode::Linear:
            minFilter = nearest ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR;
            return true;
    }
    return false;
}

}  // namespace

Texture::Texture(const char* path, GLenum target) : target(target) {
    Bitmap bitmap = toBgrOrBgra(loadBitmap(path), path);
    const PixelLayout layout = pixelLayoutOf(bitmap.get());
    const unsigned width = FreeImage_GetWidth(bitmap.get());
    const unsigned height = FreeImage_GetHeight(bitmap.get());
    const unsigned rowBytes = width * layout.bytesPerPixel;

    std::vector<BYTE> repacked;
    const BYTE* pixels = FreeImage_GetBits(bitmap.get());
    if (FreeImage_GetPitch(bitmap.get()) != rowBytes) {
        repacked = packedRows(bitmap.get(), rowBytes);
        pixels = repacked.data();
    }

    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    filterMode = TextureFilter::Bilinear;
    mipmapMode = MipmapMode::Linear;
    // Rows go up bottom row first, as FreeImage stores them: the picture's bottom lies at t = 0.
    glTexImage2D(GL_TEXTURE_2D, 0, layout.internalFormat, static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, layout.pixelFormat, GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

Texture::~Texture() {
    if (id != 0) {
        glDeleteTextures(1, &id);
    }
}

void Texture::bind(unsigned unit) const {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(target, id);
    glActiveTexture(GL_TEXTURE0);
}

void Texture::setFilter(TextureFilter filter) {
    filterMode = filter;
    applyFilter();
}

void Texture::setMipmapMode(MipmapMode mode) {
    mipmapMode = mode;
    applyFilter();
}

void Texture::applyFilter() const {
    glBindTexture(target, id);
    if (filterMode == TextureFilter::Nearest || filterMode == TextureFilter::Bilinear) {
        glTexParameteri(target, GL_TEXTURE_MAG_FILTER,
                        filterMode == TextureFilter::Nearest ? GL_NEAREST : GL_LINEAR);
        GLint minFilter = 0;
        if (minFilterFor(filterMode, mipmapMode, minFilter)) {
            glTexParameteri(target, GL_TEXTURE_MIN_FILTER, minFilter);
        }
    }
    glBindTexture(target, 0);
}

}  // namespace common::gl
