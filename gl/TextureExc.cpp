#include "gl/TextureExc.h"

#include <cstring>

namespace common::gl {

TextureExc::TextureExc(const std::string& text) {
    const std::size_t length = text.size() < kTextLimit ? text.size() : kTextLimit;
    std::memcpy(message, text.data(), length);
    message[length] = '\0';
}

}  // namespace common::gl
