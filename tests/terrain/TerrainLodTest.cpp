#include "terrain/TerrainLod.h"

#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "scene/SceneLayout.h"

using common::scene::MeshGeometry;
using common::scene::TerrainLod;

namespace {

// A height field over `points` x `points` grid points two units apart, written as an importer gives
// it: three vertices of its own for every triangle, cells split along alternating diagonals.
MeshGeometry unrolledGrid(int points, bool counterClockwise = true) {
    MeshGeometry mesh;
    auto corner = [&](int i, int j) {
        const float x = 2.0f * float(i);
        const float z = -2.0f * float(j);
        mesh.positions.emplace_back(x, std::sin(0.3f * x) * 5.0f + 0.1f * float(i * j), z);
        mesh.normals.emplace_back(0.0f, 1.0f, 0.0f);
        mesh.uvs.emplace_back(float(i) / float(points - 1), float(j) / float(points - 1));
        mesh.indices.push_back(std::uint32_t(mesh.indices.size()));
    };
    // Seen from above (+y), z = -2j: (i, j) -> (i + 1, j) -> (i + 1, j + 1) turns counter-clockwise.
    auto triangle = [&](std::pair<int, int> a, std::pair<int, int> b, std::pair<int, int> c) {
        corner(a.first, a.second);
        corner(counterClockwise ? b.first : c.first, counterClockwise ? b.second : c.second);
        corner(counterClockwise ? c.first : b.first, counterClockwise ? c.second : b.second);
    };
    for (int j = 0; j + 1 < points; ++j) {
        for (int i = 0; i + 1 < points; ++i) {
            if ((i + j) % 2 == 0) {
                triangle({i, j}, {i + 1, j}, {i + 1, j + 1});
                triangle({i, j}, {i + 1, j + 1}, {i, j + 1});
            } else {
                triangle({i, j}, {i + 1, j}, {i, j + 1});
                triangle({i + 1, j}, {i + 1, j + 1}, {i, j + 1});
            }
        }
    }
    return mesh;
}

float upward(const MeshGeometry& grid, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const glm::vec3& p = grid.positions[a];
    return glm::cross(grid.positions[b] - p, grid.positions[c] - p).y;
}

// What a set of triangles over the grid's vertices must be to draw the same ground without cracks:
// every triangle turned like the first of the mesh, the plan area of the whole grid, and every edge
// inside the grid shared by two triangles in opposite directions (a crack or a T-junction leaves an
// edge with one triangle), edges on the border by one.
void expectWatertight(const MeshGeometry& grid, const std::vector<std::uint32_t>& indices, float side,
                      const std::string& label) {
    ASSERT_EQ(indices.size() % 3, 0u) << label;
    const bool up = upward(grid, grid.indices[0], grid.indices[1], grid.indices[2]) > 0.0f;
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> directedEdges;
    double area = 0.0;
    for (std::size_t t = 0; t < indices.size(); t += 3) {
        const float turn = upward(grid, indices[t], indices[t + 1], indices[t + 2]);
        ASSERT_EQ(turn > 0.0f, up) << label << ": triangle " << t / 3 << " turned the other way";
        area += std::abs(turn) / 2.0;
        for (int k = 0; k < 3; ++k) {
            ++directedEdges[{indices[t + std::size_t(k)], indices[t + std::size_t(k + 1) % 3]}];
        }
    }
    EXPECT_NEAR(area, double(side) * side, 1e-3 * side * side) << label;
    auto onBorder = [&](std::uint32_t a, std::uint32_t b) {
        const glm::vec3 &p = grid.positions[a], &q = grid.positions[b];
        return (p.x == q.x && (p.x == 0.0f || p.x == side)) || (p.z == q.z && (p.z == 0.0f || p.z == -side));
    };
    for (const auto& [edge, count] : directedEdges) {
        const bool reversed = directedEdges.count({edge.second, edge.first}) > 0;
        ASSERT_EQ(count, 1) << label << ": edge drawn twice the same way";
        ASSERT_TRUE(reversed || onBorder(edge.first, edge.second))
            << label << ": open edge inside the grid at " << grid.positions[edge.first].x << ", "
            << grid.positions[edge.first].z;
    }
}

}  // namespace

// Grids whose last tile has an even and an odd number of cells, both windings, the detailed tiles
// anywhere from none to all: always the whole ground, without cracks, fewer triangles far away.
TEST(TerrainLod, CoarseTilesMeetDetailedOnesWithoutCracks) {
    const struct {
        int points;
        bool counterClockwise;
        glm::vec2 centre;
        float radius;
    } cases[] = {
        {35, true, {30.0f, -30.0f}, 10.0f},  {36, true, {30.0f, -30.0f}, 10.0f},
        {36, false, {30.0f, -30.0f}, 10.0f}, {36, true, {0.0f, 0.0f}, 0.0f},
        {36, true, {70.0f, -40.0f}, 1.0f},   {36, true, {-500.0f, 500.0f}, 1.0f},
        {50, false, {60.0f, -90.0f}, 30.0f}, {17, true, {-100.0f, 100.0f}, 1.0f},
    };
    for (const auto& c : cases) {
        const std::string label = std::to_string(c.points) + " points, centre " + std::to_string(c.centre.x) +
                                  ", " + std::to_string(c.centre.y) + ", radius " + std::to_string(c.radius);
        const MeshGeometry mesh = unrolledGrid(c.points, c.counterClockwise);
        const std::optional<TerrainLod> lod = TerrainLod::fromMesh(mesh);
        ASSERT_TRUE(lod) << label;
        const MeshGeometry& grid = lod->geometry();
        ASSERT_EQ(grid.positions.size(), std::size_t(c.points) * std::size_t(c.points)) << label;
        const float side = 2.0f * float(c.points - 1);
        expectWatertight(grid, grid.indices, side, label + " (full)");
        const std::vector<std::uint32_t> reduced = lod->indicesAround(c.centre, c.radius);
        expectWatertight(grid, reduced, side, label);
        EXPECT_LT(reduced.size(), grid.indices.size()) << label;
    }
}

TEST(TerrainLod, NearTheCentreEveryOriginalTriangleStays) {
    const MeshGeometry mesh = unrolledGrid(36);
    const std::optional<TerrainLod> lod = TerrainLod::fromMesh(mesh);
    ASSERT_TRUE(lod);
    const MeshGeometry& grid = lod->geometry();
    // The grid vertices carry the mesh's own positions, normals and uvs.
    for (std::size_t v = 0; v < mesh.positions.size(); ++v) {
        const std::uint32_t point = grid.indices[v];
        ASSERT_EQ(grid.positions[point], mesh.positions[v]);
        ASSERT_EQ(grid.uvs[point], mesh.uvs[v]);
    }
    auto sortedTriangles = [](const std::vector<std::uint32_t>& indices) {
        std::vector<std::array<std::uint32_t, 3>> triangles;
        for (std::size_t t = 0; t < indices.size(); t += 3) {
            triangles.push_back({indices[t], indices[t + 1], indices[t + 2]});
        }
        std::sort(triangles.begin(), triangles.end());
        return triangles;
    };
    EXPECT_EQ(sortedTriangles(lod->indicesAround({35.0f, -35.0f}, 1000.0f)), sortedTriangles(grid.indices));
    // One corner tile detailed, the others not.
    const std::vector<bool> tiles = lod->detailedTiles({1.0f, -1.0f}, 2.0f);
    EXPECT_EQ(std::count(tiles.begin(), tiles.end(), true), 1);
    // Far from every tile of a grid of whole two-cell steps: a quarter of the triangles.
    const std::optional<TerrainLod> even = TerrainLod::fromMesh(unrolledGrid(37));
    ASSERT_TRUE(even);
    EXPECT_EQ(even->indicesAround({-1000.0f, 1000.0f}, 1.0f).size(), even->geometry().indices.size() / 4);
}

TEST(TerrainLod, OnlyARegularHeightFieldIsAGrid) {
    const auto broken = [](auto change) {
        MeshGeometry mesh = unrolledGrid(6);
        change(mesh);
        return TerrainLod::fromMesh(mesh).has_value();
    };
    EXPECT_TRUE(broken([](MeshGeometry&) {}));
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.positions[0].y += 1.0f; })) << "two heights over a point";
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.positions[0].x += 0.5f; })) << "a point off the grid lines";
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.indices.resize(m.indices.size() - 6); })) << "a point unused";
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.indices[2] = m.indices[m.indices.size() - 1]; }))
        << "a triangle across cells";
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.indices[0] = std::uint32_t(m.positions.size()); }))
        << "an index past the vertices";
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.indices.clear(); }));
    EXPECT_FALSE(broken([](MeshGeometry& m) { m.positions[5].x = std::nanf(""); })) << "not a number";
}

// The shipped landscape is such a grid, so the lighter presets do draw less of it.
TEST(TerrainLod, TheShippedTerrainIsAGrid) {
    const std::string path = "../resources/meshes/low_res_Mountain/mountain_player.dae";
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
    ASSERT_TRUE(scene) << path;
    const common::scene::SceneLayout layout = common::scene::SceneLayout::read(*scene, path);
    const auto terrain = std::find_if(layout.meshes.begin(), layout.meshes.end(), [](const auto& mesh) {
        return mesh.role == common::scene::NodeRole::Terrain;
    });
    ASSERT_NE(terrain, layout.meshes.end());
    const std::optional<TerrainLod> lod = TerrainLod::fromMesh(terrain->geometry);
    ASSERT_TRUE(lod);
    EXPECT_LT(lod->geometry().positions.size(), terrain->geometry.positions.size() / 3);
    EXPECT_LT(lod->indicesAround({256.0f, -256.0f}, 96.0f).size(), terrain->geometry.indices.size() / 2);
}
