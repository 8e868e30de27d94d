#pragma once

#include <assimp/matrix4x4.h>
#include <glm/glm.hpp>

namespace common::scene {

// Assimp stores matrices row-major; GLM is column-major, so the conversion is the transpose.
inline glm::mat4 toGlm(const aiMatrix4x4& m) {
    return glm::mat4(m.a1, m.b1, m.c1, m.d1, m.a2, m.b2, m.c2, m.d2, m.a3, m.b3, m.c3, m.d3, m.a4, m.b4, m.c4,
                     m.d4);
}

}  // namespace common::scene
