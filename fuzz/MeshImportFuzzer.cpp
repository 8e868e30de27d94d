// A model file as a half-copied resource folder may leave it: any bytes read by Assimp the way the
// game reads its .dae files, then read by the game's own layout code as a scene file and as the
// ring model, and checked for what the upload and the draws rely on. Every mesh is also offered to
// the terrain's level of detail, as the lighter presets offer the terrain.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "scene/SceneLayout.h"
#include "terrain/TerrainLod.h"

using common::scene::LayoutMesh;
using common::scene::MeshGeometry;
using common::scene::SceneLayout;

namespace {

void fail(const char* what) {
    std::fprintf(stderr, "scene layout: %s\n", what);
    std::abort();
}

// Every index names a vertex, the vertex lists agree, the triangles are whole.
void checkGeometry(const MeshGeometry& geometry) {
    const std::size_t count = geometry.positions.size();
    if (geometry.normals.size() != count || geometry.uvs.size() != count ||
        geometry.indices.size() % 3 != 0) {
        fail("vertex lists of different lengths or a partial triangle");
    }
    for (std::uint32_t index : geometry.indices) {
        if (index >= count) {
            fail("a face names a vertex the mesh does not have");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Assimp::Importer importer;
    // The game's flags; the hint is the extension of the game's model files.
    const aiScene* scene =
        importer.ReadFileFromMemory(data, size, aiProcess_Triangulate | aiProcess_GenSmoothNormals, "dae");
    if (!scene) {
        return 0;  // the game prints "Error parsing ..." and goes on (rings) or refuses to start
    }
    const SceneLayout layout = SceneLayout::read(*scene, "../resources/meshes/low_res_Mountain/scene.dae");
    for (const LayoutMesh& mesh : layout.meshes) {
        checkGeometry(mesh.geometry);
        if (const auto lod = common::scene::TerrainLod::fromMesh(mesh.geometry)) {
            checkGeometry(lod->geometry());
            for (std::uint32_t index : lod->indicesAround({0.0f, 0.0f}, 50.0f)) {
                if (index >= lod->geometry().positions.size()) {
                    fail("a coarse terrain triangle names a vertex the grid does not have");
                }
            }
        }
    }
    if (layout.discTemplate) {
        checkGeometry(layout.discTemplate->geometry);
    }
    for (const LayoutMesh& part : SceneLayout::readRingParts(*scene, "../resources/meshes/Circle.dae")) {
        checkGeometry(part.geometry);
    }
    return 0;
}
