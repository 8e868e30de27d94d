#pragma once

#include <cstddef>
#include <exception>
#include <string>

namespace common::gl {

// Reports an image file that could not be loaded as a texture. Thrown by value.
class TextureExc : public std::exception {
  public:
    static constexpr std::size_t kTextLimit = 15000;

    // text is cut to kTextLimit characters.
    explicit TextureExc(const std::string& text);

    const char* what() const noexcept override { return message; }

    char message[kTextLimit + 1001];
};

}  // namespace common::gl
