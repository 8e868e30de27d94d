#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

struct aiMesh;
struct aiScene;

namespace common::scene {

// The vertex and index lists of a mesh as the game draws them, copied from Assimp meshes. No GL in
// here, so the copy of an arbitrary model file can be checked (and fuzzed) without a context.
struct MeshGeometry {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<std::uint32_t> indices;
    // The bounds start at the origin, not at the first vertex, so the box always holds the origin.
    glm::vec3 boundsMin{0.0f};
    glm::vec3 boundsMax{0.0f};

    // The vertices, normals ((0,1,0) where the mesh has none), first uv channel ((0,0) without one),
    // triangles and bounds of `mesh`. Faces with fewer than three indices (points, lines) are skipped.
    static MeshGeometry fromAiMesh(const aiMesh* mesh);
    std::size_t triangleCount() const { return indices.size() / 3; }

    // The path of the material's first diffuse texture, beside the scene file; "" when the material
    // does not exist or has none.
    static std::string diffuseTexturePath(const aiScene* scene, const std::string& scenePath,
                                          unsigned materialIndex);
    // The folder part of a scene path: "." without any "/", "/" when the only "/" comes first.
    static std::string directoryOf(const std::string& scenePath);
};

}  // namespace common::scene
