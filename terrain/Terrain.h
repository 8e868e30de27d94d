#pragma once

#include <memory>
#include <vector>

#include "scene/Mesh.h"

namespace common::scene {

class TerrainLod;

// The landscape mesh. A Mesh like any other; its own type lets the scene recognise it as the
// receiver of the cascaded shadows, never culled and never drawn into the shadow maps.
// A lighter picture may draw it with less detail far from a point (the craft).
class Terrain : public Mesh {
  public:
    Terrain();
    ~Terrain() override;

    // From now on tiles farther than `radius` from the point given to focusDetailOn are drawn with
    // half the grid lines. Returns false, and keeps the full mesh, when the mesh is not a regular grid.
    bool reduceDetailBeyond(float radius);
    // Where full detail is kept (world space); the triangles change only when a tile changes detail.
    void focusDetailOn(const glm::vec3& worldPoint);

  private:
    std::unique_ptr<TerrainLod> lod_;
    float detailRadius_ = 0.0f;
    std::vector<bool> detailedTiles_;
};

}  // namespace common::scene
