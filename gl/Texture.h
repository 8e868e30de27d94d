#pragma once

#include <GL/glew.h>

#include "gl/MipmapMode.h"
#include "gl/TextureFilter.h"

namespace common::gl {

// One 2D texture loaded from an image file with FreeImage and uploaded with a full mipmap chain. Owns its
// GL texture name (deleted with the object). Starts with bilinear filtering and linear mipmapping; both can
// be switched at run time.
class Texture {
  public:
    // Throws TextureExc when the file cannot be recognised, read or converted.
    Texture(const char* path, GLenum target = GL_TEXTURE_2D);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Binds the texture on the given unit and leaves unit 0 active.
    void bind(unsigned unit) const;

    void setFilter(TextureFilter filter);
    // Keeps the current filter family (nearest or bilinear) and changes only the mipmap part.
    void setMipmapMode(MipmapMode mode);

    GLuint id = 0;
    GLenum target;
    MipmapMode mipmapMode = MipmapMode::Linear;
    TextureFilter filterMode = TextureFilter::Bilinear;

  private:
    void applyFilter() const;
};

}  // namespace common::gl
