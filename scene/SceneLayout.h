#pragma once

#include <optional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "game/Race.h"

#include "scene/MeshGeometry.h"

struct aiScene;

namespace common::scene {

// What a node's name makes of its meshes. The tests on the name run in this order, the first that
// holds deciding: equals "Player"; contains "Circle" (a ring); contains "FIN" (a finish ring); equals
// "Skybox", "Water" or "Terrain"; contains "Trans" (the template of the transparent ring discs);
// anything else is a plain mesh.
enum class NodeRole { Player, Ring, FinishRing, Skybox, Water, Terrain, DiscTemplate, Plain };

// One mesh of a node, placed by the node's own transformation (its parents' are not applied).
struct LayoutMesh {
    NodeRole role = NodeRole::Plain;
    glm::mat4 transform{1.0f};
    // Empty for rings: a ring draws its own model, not the node's mesh.
    MeshGeometry geometry;
    // The material's first diffuse texture beside the scene file, "" without one.
    std::string texturePath;
};

// A light of the file placed by the node that carries it (the node named like the light).
struct LayoutLight {
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f};
    glm::vec3 ambient{0.0f};
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    float attenuationConstant = 0.0f;
    float attenuationLinear = 0.0f;
    float attenuationQuadratic = 0.0f;
};

// What an imported scene file says, apart from anything the GPU holds: every mesh with its role,
// transform, geometry and texture path, the ring transforms in course order, the disc template and
// the lights. The scene controller builds its objects from it; the model fuzzer reads files through
// it. No GL in here.
struct SceneLayout {
    // The default course's scene file, relative to the game's working directory.
    static constexpr const char* kDefaultPath = "../resources/meshes/low_res_Mountain/mountain_player.dae";

    // Every mesh but the disc template, in file order (depth first, a node's meshes before its
    // children), rings and finish rings included.
    std::vector<LayoutMesh> meshes;
    // The model matrix of every ring and finish ring, in file order: the course order.
    std::vector<glm::mat4> ringTransforms;
    // The last mesh of a "Trans" node, when there is one.
    std::optional<LayoutMesh> discTemplate;
    // The lights whose node was found, in file order; the last one is the scene's light.
    std::vector<LayoutLight> lights;
    // The names of the lights that no node carries, in file order.
    std::vector<std::string> lightsWithoutNode;

    static NodeRole roleOf(const std::string& nodeName);
    static SceneLayout read(const aiScene& scene, const std::string& scenePath);
    // The parts of a ring model: the meshes of the nodes "part0", "part1", ... met in that order in
    // a depth-first walk (a part out of order ends nothing; it is skipped).
    static std::vector<LayoutMesh> readRingParts(const aiScene& scene, const std::string& modelPath);

    // The craft's start and the rings in course order, for a race.
    RaceCourse raceCourse() const;
    // The landscape kept, the course replaced: the file's rings go, the craft starts at the course's
    // start and the course's rings follow the other meshes.
    void replaceCourse(const RaceCourse& course);
    // The race course of a scene file. Throws std::runtime_error when the file cannot be read or has
    // no finish ring.
    static RaceCourse readRaceCourse(const std::string& scenePath);
};

}  // namespace common::scene
