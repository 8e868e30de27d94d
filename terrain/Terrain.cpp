#include "terrain/Terrain.h"

#include "terrain/TerrainLod.h"

namespace common::scene {

Terrain::Terrain() = default;
Terrain::~Terrain() = default;

bool Terrain::reduceDetailBeyond(float radius) {
    std::optional<TerrainLod> lod = TerrainLod::fromMesh(geometry);
    if (!lod) {
        return false;
    }
    lod_ = std::make_unique<TerrainLod>(std::move(*lod));
    detailRadius_ = radius;
    detailedTiles_.clear();
    replaceGeometry(lod_->geometry());
    return true;
}

void Terrain::focusDetailOn(const glm::vec3& worldPoint) {
    if (!lod_) {
        return;
    }
    const glm::vec4 local = getInverseModelMatrix() * glm::vec4(worldPoint, 1.0f);
    const glm::vec2 centre(local.x, local.z);
    std::vector<bool> detailed = lod_->detailedTiles(centre, detailRadius_);
    if (detailed == detailedTiles_) {
        return;
    }
    detailedTiles_ = std::move(detailed);
    replaceIndices(lod_->indicesFor(detailedTiles_));
}

}  // namespace common::scene
