#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct aiScene;

namespace fuzzwalk {

// What a walk met; the fuzzer only needs it to keep the compiler from dropping the work.
struct WalkSummary {
    std::size_t objects = 0;
    std::size_t rings = 0;
    std::size_t parts = 0;
    std::size_t lights = 0;
    std::size_t vertices = 0;
    std::size_t indices = 0;
    bool hasPlayer = false;
    std::vector<std::string> texturePaths;
};

// Walks an imported scene the way the game's loaders do, minus every GL call: the scene loader's
// node walk with its name roles and lights, the game's own mesh copy (MeshGeometry) with the
// material's texture path, and the ring loader's search for the part nodes "part0" to "part7".
// The node walks mirror scene/SceneController.cpp and game/CircleCheckpoint.cpp (they create GL
// objects as they go); keep them in step. Calls abort() where the game would go on with data it
// cannot draw safely.
WalkSummary walkScene(const aiScene* scene, const std::string& scenePath);

}  // namespace fuzzwalk
