#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "gl/Texture.h"

namespace common::gl {

// One texture per image file, shared by every mesh that shows it (a course's rings all show the same
// ring texture). Owns the textures; the meshes hold plain pointers and must not outlive the cache.
// A filter or mipmap switch on one user therefore reaches every user of that file.
class TextureCache {
  public:
    // The texture of `path`, loaded on first use. Throws TextureExc as Texture does; a file that
    // failed is tried again next time.
    Texture& get(const std::string& path);

    std::size_t size() const { return textures.size(); }
    // Drops every texture: call once no mesh shows them any more (a course is unloaded).
    void clear() { textures.clear(); }

  private:
    std::map<std::string, std::unique_ptr<Texture>> textures;
};

}  // namespace common::gl
