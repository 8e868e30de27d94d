#pragma once

#include "scene/Mesh.h"

namespace common::scene {

// The landscape mesh. A Mesh like any other; its own type lets the scene recognise it as the
// receiver of the cascaded shadows, never culled and never drawn into the shadow maps.
class Terrain : public Mesh {
  public:
    Terrain() = default;
};

}  // namespace common::scene
