// A model file as a half-copied resource folder may leave it: any bytes read by Assimp the way the
// game reads its .dae files, then walked the way the scene and ring loaders walk an imported scene.

#include <cstddef>
#include <cstdint>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "fuzz/SceneWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Assimp::Importer importer;
    // The game's flags; the hint is the extension of the game's model files.
    const aiScene* scene =
        importer.ReadFileFromMemory(data, size, aiProcess_Triangulate | aiProcess_GenSmoothNormals, "dae");
    if (!scene) {
        return 0;  // the game prints "Error parsing ..." and goes on (rings) or refuses to start
    }
    fuzzwalk::walkScene(scene, "../resources/meshes/Circle.dae");
    return 0;
}
