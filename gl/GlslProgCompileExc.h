#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

namespace common::gl {

// Reports a shader source that could not be read or a stage that failed to compile. The message is a
// stage label ("VERTEX: ", "FRAGMENT: ", ...) followed by the reason; it is held in a fixed buffer so the
// exception can be copied without allocating.
class GlslProgCompileExc : public std::exception {
  public:
    static constexpr std::size_t kLabelLimit = 1000;
    static constexpr std::size_t kTextLimit = 15000;

    // shaderType is the GL stage enum; text is cut to kTextLimit characters.
    GlslProgCompileExc(std::uint32_t shaderType, const char* text);

    const char* what() const noexcept override { return message; }

    // "VERTEX: ", "FRAGMENT: ", "GEOMETRY: " or "UNKNOWN: ".
    static const char* stageLabel(std::uint32_t shaderType);

    char message[kLabelLimit + kTextLimit + 1];
    std::uint32_t shaderType;
};

}  // namespace common::gl
