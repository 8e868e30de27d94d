#include "terrain/TerrainLod.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace common::scene {
namespace {

// Sorted distinct values, each with its place in that order.
std::map<float, int> ordinals(const std::vector<glm::vec3>& positions, int axis) {
    std::map<float, int> values;
    for (const glm::vec3& p : positions) {
        values.emplace(p[axis], 0);
    }
    int next = 0;
    for (auto& [value, ordinal] : values) {
        ordinal = next++;
    }
    return values;
}

float crossUp(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    return glm::cross(b - a, c - a).y;
}

}  // namespace

std::optional<TerrainLod> TerrainLod::fromMesh(const MeshGeometry& mesh) {
    if (mesh.positions.empty() || mesh.indices.empty() || mesh.indices.size() % 3 != 0) {
        return std::nullopt;
    }
    // Not-a-number has no place in the sorted grid lines.
    for (const glm::vec3& p : mesh.positions) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            return std::nullopt;
        }
    }
    const std::map<float, int> columnOf = ordinals(mesh.positions, 0);
    const std::map<float, int> rowOf = ordinals(mesh.positions, 2);
    TerrainLod lod;
    lod.columns_ = static_cast<int>(columnOf.size());
    lod.rows_ = static_cast<int>(rowOf.size());
    // Every grid point must be some vertex: more points than vertices is no grid (and no huge table).
    if (lod.columns_ < 2 || lod.rows_ < 2 ||
        std::size_t(lod.columns_) * std::size_t(lod.rows_) > mesh.positions.size()) {
        return std::nullopt;
    }

    MeshGeometry& grid = lod.geometry_;
    const std::size_t points = std::size_t(lod.columns_) * std::size_t(lod.rows_);
    grid.positions.resize(points);
    grid.normals.resize(points);
    grid.uvs.resize(points);
    std::vector<bool> filled(points, false);
    std::vector<std::uint32_t> gridIndexOf(mesh.positions.size());
    for (std::size_t v = 0; v < mesh.positions.size(); ++v) {
        const glm::vec3& p = mesh.positions[v];
        const std::uint32_t point = lod.at(columnOf.at(p.x), rowOf.at(p.z));
        if (filled[point] && grid.positions[point] != p) {
            return std::nullopt;  // two heights over one point: not a height field
        }
        if (!filled[point]) {
            grid.positions[point] = p;
            grid.normals[point] = v < mesh.normals.size() ? mesh.normals[v] : glm::vec3(0.0f, 1.0f, 0.0f);
            grid.uvs[point] = v < mesh.uvs.size() ? mesh.uvs[v] : glm::vec2(0.0f);
            filled[point] = true;
        }
        gridIndexOf[v] = point;
    }
    if (std::find(filled.begin(), filled.end(), false) != filled.end()) {
        return std::nullopt;
    }

    const int cellsAcross = lod.columns_ - 1;
    const std::size_t cells = std::size_t(cellsAcross) * std::size_t(lod.rows_ - 1);
    std::vector<std::size_t> cellOf;
    cellOf.reserve(mesh.indices.size() / 3);
    bool windingKnown = false;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3) {
        std::uint32_t corner[3];
        int column[3];
        int row[3];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t index = mesh.indices[i + std::size_t(k)];
            if (index >= mesh.positions.size()) {
                return std::nullopt;
            }
            corner[k] = gridIndexOf[index];
            column[k] = static_cast<int>(corner[k]) % lod.columns_;
            row[k] = static_cast<int>(corner[k]) / lod.columns_;
        }
        const int firstColumn = std::min({column[0], column[1], column[2]});
        const int firstRow = std::min({row[0], row[1], row[2]});
        // A triangle must lie in one grid cell, or coarser tiles would not cover the same ground.
        if (std::max({column[0], column[1], column[2]}) - firstColumn > 1 ||
            std::max({row[0], row[1], row[2]}) - firstRow > 1) {
            return std::nullopt;
        }
        const float up =
            crossUp(grid.positions[corner[0]], grid.positions[corner[1]], grid.positions[corner[2]]);
        if (!windingKnown && up != 0.0f) {
            lod.windsUpward_ = up > 0.0f;
            windingKnown = true;
        }
        // A degenerate triangle along the last grid line counts to the last cell.
        cellOf.push_back(std::size_t(std::min(firstRow, lod.rows_ - 2)) * std::size_t(cellsAcross) +
                         std::size_t(std::min(firstColumn, cellsAcross - 1)));
        grid.indices.insert(grid.indices.end(), corner, corner + 3);
    }
    // Counting sort of the triangles by cell, keeping their order within each cell.
    lod.cellStart_.assign(cells + 1, 0);
    for (std::size_t cell : cellOf) {
        lod.cellStart_[cell + 1] += 3;
    }
    for (std::size_t k = 0; k < cells; ++k) {
        // A cell without its two triangles is a hole that a coarser cell would cover.
        if (lod.cellStart_[k + 1] < 6) {
            return std::nullopt;
        }
        lod.cellStart_[k + 1] += lod.cellStart_[k];
    }
    lod.cellCorners_.resize(grid.indices.size());
    std::vector<std::uint32_t> next(lod.cellStart_.begin(), lod.cellStart_.end() - 1);
    for (std::size_t t = 0; t < cellOf.size(); ++t) {
        std::copy_n(grid.indices.begin() + std::ptrdiff_t(3 * t), 3,
                    lod.cellCorners_.begin() + next[cellOf[t]]);
        next[cellOf[t]] += 3;
    }
    grid.boundsMin = mesh.boundsMin;
    grid.boundsMax = mesh.boundsMax;
    return lod;
}

std::vector<bool> TerrainLod::detailedTiles(glm::vec2 centre, float radius) const {
    std::vector<bool> detailed(std::size_t(tilesAcross()) * std::size_t(tilesDown()));
    for (int tileRow = 0; tileRow < tilesDown(); ++tileRow) {
        for (int tileColumn = 0; tileColumn < tilesAcross(); ++tileColumn) {
            const glm::vec3& low = geometry_.positions[at(tileStart(tileColumn), tileStart(tileRow))];
            const glm::vec3& high =
                geometry_.positions[at(tileEnd(tileColumn, columns_ - 1), tileEnd(tileRow, rows_ - 1))];
            const glm::vec2 nearest =
                glm::clamp(centre, glm::min(glm::vec2(low.x, low.z), glm::vec2(high.x, high.z)),
                           glm::max(glm::vec2(low.x, low.z), glm::vec2(high.x, high.z)));
            detailed[std::size_t(tileRow * tilesAcross() + tileColumn)] =
                glm::distance(nearest, centre) <= radius;
        }
    }
    return detailed;
}

std::vector<std::uint32_t> TerrainLod::indicesAround(glm::vec2 centre, float radius) const {
    return indicesFor(detailedTiles(centre, radius));
}

std::vector<std::uint32_t> TerrainLod::indicesFor(const std::vector<bool>& detailed) const {
    std::vector<std::uint32_t> indices;
    indices.reserve(geometry_.indices.size());
    for (int tileRow = 0; tileRow < tilesDown(); ++tileRow) {
        for (int tileColumn = 0; tileColumn < tilesAcross(); ++tileColumn) {
            const bool tileDetailed = detailed[std::size_t(tileRow * tilesAcross() + tileColumn)];
            const int coarseColumns =
                tileDetailed ? tileStart(tileColumn) : coarseEnd(tileColumn, columns_ - 1);
            const int coarseRows = tileDetailed ? tileStart(tileRow) : coarseEnd(tileRow, rows_ - 1);
            for (int row = tileStart(tileRow); row < tileEnd(tileRow, rows_ - 1); ++row) {
                for (int column = tileStart(tileColumn); column < tileEnd(tileColumn, columns_ - 1);
                     ++column) {
                    if (column >= coarseColumns || row >= coarseRows) {
                        addCell(column, row, indices);
                    } else if ((column - tileStart(tileColumn)) % 2 == 0 &&
                               (row - tileStart(tileRow)) % 2 == 0) {
                        addCoarseCell(column, row, detailed, indices);
                    }
                }
            }
        }
    }
    return indices;
}

bool TerrainLod::cellDetailed(int column, int row, const std::vector<bool>& detailed) const {
    if (column < 0 || row < 0 || column >= columns_ - 1 || row >= rows_ - 1) {
        return false;  // beyond the edge: nothing to meet
    }
    const int tileColumn = column / kTileCells;
    const int tileRow = row / kTileCells;
    return detailed[std::size_t(tileRow * tilesAcross() + tileColumn)] ||
           column >= coarseEnd(tileColumn, columns_ - 1) || row >= coarseEnd(tileRow, rows_ - 1);
}

void TerrainLod::addCell(int column, int row, std::vector<std::uint32_t>& indices) const {
    const std::size_t cell = std::size_t(row) * std::size_t(columns_ - 1) + std::size_t(column);
    indices.insert(indices.end(), cellCorners_.begin() + cellStart_[cell],
                   cellCorners_.begin() + cellStart_[cell + 1]);
}

// A cell of two by two grid cells. One beside detailed cells is a fan around its middle vertex that
// takes in the middle vertex of each edge it shares with them; the others are two triangles, split
// along the diagonal whose ends differ least in height.
void TerrainLod::addCoarseCell(int c, int r, const std::vector<bool>& detailed,
                               std::vector<std::uint32_t>& indices) const {
    // Corners counter-clockwise in (column, row), each with the edge that follows it.
    const int cornerColumn[4] = {c, c + 2, c + 2, c};
    const int cornerRow[4] = {r, r, r + 2, r + 2};
    const bool stitched[4] = {cellDetailed(c, r - 1, detailed), cellDetailed(c + 2, r, detailed),
                              cellDetailed(c, r + 2, detailed), cellDetailed(c - 1, r, detailed)};
    const std::uint32_t corner[4] = {at(c, r), at(c + 2, r), at(c + 2, r + 2), at(c, r + 2)};
    if (!stitched[0] && !stitched[1] && !stitched[2] && !stitched[3]) {
        const auto height = [&](int k) { return geometry_.positions[corner[k]].y; };
        if (std::abs(height(0) - height(2)) <= std::abs(height(1) - height(3))) {
            addTriangle(corner[0], corner[1], corner[2], indices);
            addTriangle(corner[0], corner[2], corner[3], indices);
        } else {
            addTriangle(corner[0], corner[1], corner[3], indices);
            addTriangle(corner[1], corner[2], corner[3], indices);
        }
        return;
    }
    const std::uint32_t middle = at(c + 1, r + 1);
    for (int k = 0; k < 4; ++k) {
        const int next = (k + 1) % 4;
        if (stitched[k]) {
            const std::uint32_t half =
                at((cornerColumn[k] + cornerColumn[next]) / 2, (cornerRow[k] + cornerRow[next]) / 2);
            addTriangle(corner[k], half, middle, indices);
            addTriangle(half, corner[next], middle, indices);
        } else {
            addTriangle(corner[k], corner[next], middle, indices);
        }
    }
}

// Keeps the winding of the original mesh, whatever order the corners come in.
void TerrainLod::addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                             std::vector<std::uint32_t>& indices) const {
    const float up = crossUp(geometry_.positions[a], geometry_.positions[b], geometry_.positions[c]);
    if ((up > 0.0f) != windsUpward_) {
        std::swap(b, c);
    }
    indices.insert(indices.end(), {a, b, c});
}

}  // namespace common::scene
