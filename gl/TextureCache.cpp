#include "gl/TextureCache.h"

namespace common::gl {

Texture& TextureCache::get(const std::string& path) {
    std::unique_ptr<Texture>& texture = textures[path];
    if (!texture) {
        try {
            texture = std::make_unique<Texture>(path.c_str(), GL_TEXTURE_2D);
        } catch (...) {
            textures.erase(path);
            throw;
        }
    }
    return *texture;
}

}  // namespace common::gl
