#include "tests/tools/GeneratedFiles.h"

#include <FreeImage.h>
#include <assimp/scene.h>

namespace generated {

Picture loadPicture(const std::string& path) {
    Picture picture;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) {
        format = FreeImage_GetFIFFromFilename(path.c_str());
    }
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) {
        return picture;
    }
    FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
    if (bitmap == nullptr) {
        return picture;
    }
    picture.hasAlpha = FreeImage_GetColorType(bitmap) == FIC_RGBALPHA;
    FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap);
    FreeImage_Unload(bitmap);
    if (converted == nullptr) {
        return picture;
    }
    picture.width = int(FreeImage_GetWidth(converted));
    picture.height = int(FreeImage_GetHeight(converted));
    picture.rgba.resize(std::size_t(picture.width) * picture.height * 4);
    for (int y = 0; y < picture.height; ++y) {
        // FreeImage keeps the bottom row first.
        const BYTE* line = FreeImage_GetScanLine(converted, picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t* p = &picture.rgba[(std::size_t(y) * picture.width + x) * 4];
            p[0] = line[4 * x + FI_RGBA_RED];
            p[1] = line[4 * x + FI_RGBA_GREEN];
            p[2] = line[4 * x + FI_RGBA_BLUE];
            p[3] = line[4 * x + FI_RGBA_ALPHA];
        }
    }
    FreeImage_Unload(converted);
    picture.loaded = true;
    return picture;
}

bool isPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

glm::mat4 nodeMatrix(const aiNode& node) {
    const aiMatrix4x4& m = node.mTransformation;
    glm::mat4 result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            result[column][row] = m[row][column];
        }
    }
    return result;
}

const aiNode* findNode(const aiNode& root, const std::string& name) {
    if (std::string(root.mName.C_Str()) == name) {
        return &root;
    }
    for (unsigned i = 0; i < root.mNumChildren; ++i) {
        if (const aiNode* found = findNode(*root.mChildren[i], name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace generated
