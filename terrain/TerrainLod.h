#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <glm/glm.hpp>

#include "scene/MeshGeometry.h"

namespace common::scene {

// Level of detail for a terrain mesh that is a regular grid: square tiles near a point keep every
// triangle of the original mesh, tiles farther away are drawn with every other grid line. Far
// triangles cover a pixel or less, where a software rasterizer pays for a whole block of pixels
// per triangle. Coarse cells that border a detailed tile fan out to its edge vertices, so the
// surface has no cracks. GL-free: it turns the mesh into shared grid vertices and index lists.
class TerrainLod {
  public:
    // Cells per tile side.
    static constexpr int kTileCells = 16;

    // The grid behind `mesh` (each triangle corner on one point of a regular grid in x and z, every
    // point used); nothing when the mesh is not such a grid.
    static std::optional<TerrainLod> fromMesh(const MeshGeometry& mesh);

    // One vertex per grid point (position, normal and uv of the mesh), row by row along x; the
    // original triangles, in their order and winding, as indices into them.
    const MeshGeometry& geometry() const { return geometry_; }

    // Triangles with full detail on tiles within `radius` of `centre` (model-space x and z) and half
    // detail elsewhere. (A tile with an odd number of cells a side keeps its last row or column of
    // cells in full detail.)
    std::vector<std::uint32_t> indicesAround(glm::vec2 centre, float radius) const;
    // The same for tiles already chosen (as detailedTiles gives them).
    std::vector<std::uint32_t> indicesFor(const std::vector<bool>& detailed) const;
    // Which tiles indicesAround would give full detail, one bit per tile; for noticing a change.
    std::vector<bool> detailedTiles(glm::vec2 centre, float radius) const;

  private:
    std::uint32_t at(int column, int row) const { return std::uint32_t(row * columns_ + column); }
    int tilesAcross() const { return (columns_ - 2) / kTileCells + 1; }
    int tilesDown() const { return (rows_ - 2) / kTileCells + 1; }
    // Grid cells [first, end) of tile `tile` along a side of `cells` cells.
    static int tileStart(int tile) { return tile * kTileCells; }
    static int tileEnd(int tile, int cells) { return std::min(tileStart(tile + 1), cells); }
    // Where the two-by-two cells of a tile end along one side; an odd last cell stays detailed.
    static int coarseEnd(int tile, int cells) {
        return tileStart(tile) + ((tileEnd(tile, cells) - tileStart(tile)) & ~1);
    }
    bool cellDetailed(int column, int row, const std::vector<bool>& detailed) const;
    void addCell(int column, int row, std::vector<std::uint32_t>& indices) const;
    void addCoarseCell(int column, int row, const std::vector<bool>& detailed,
                       std::vector<std::uint32_t>& indices) const;
    void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                     std::vector<std::uint32_t>& indices) const;

    MeshGeometry geometry_;
    int columns_ = 0;
    int rows_ = 0;
    // The original triangles of each grid cell (indices into geometry_): cell k's corners are
    // cellCorners_[cellStart_[k]] up to cellCorners_[cellStart_[k + 1]], cells row by row.
    std::vector<std::uint32_t> cellStart_;
    std::vector<std::uint32_t> cellCorners_;
    // Whether the mesh's triangles wind counter-clockwise seen from above (+y).
    bool windsUpward_ = true;
};

}  // namespace common::scene
