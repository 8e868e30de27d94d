#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

struct aiScene;

namespace testsupport {

// Builds small Assimp scenes for tests: in memory, or written as COLLADA for the game's loaders.
class SceneBuilder {
  public:
    struct MeshShape {
        std::vector<glm::vec3> positions;
        std::vector<glm::vec2> uvs;  // empty: the mesh has no texture coordinates
        std::vector<std::vector<unsigned>> faces;
        unsigned material = 0;
    };

    SceneBuilder();

    // Material 0 (plain) exists from the start; returns the new material's index.
    unsigned addMaterial(const std::vector<std::string>& diffuseTextures);
    unsigned addMesh(const MeshShape& mesh);
    // A node under `parent` (the root when empty) with its own transformation and meshes.
    void addNode(const std::string& name, const glm::mat4& transform, const std::vector<unsigned>& meshes,
                 const std::string& parent = "");
    // A directional light named like the node that carries it (or like no node at all).
    void addLight(const std::string& name);

    std::unique_ptr<aiScene> build() const;
    // Exports COLLADA, or Assimp's binary format for a path ending in ".assbin"; returns false when
    // Assimp cannot write it.
    bool write(const std::filesystem::path& path) const;

    static MeshShape triangle(const glm::vec3& offset = glm::vec3(0.0f));
    static MeshShape box(const glm::vec3& min, const glm::vec3& max);

  private:
    struct NodeEntry {
        std::string name;
        glm::mat4 transform;
        std::vector<unsigned> meshes;
        std::string parent;
    };

    std::vector<std::vector<std::string>> materials_;
    std::vector<MeshShape> meshes_;
    std::vector<NodeEntry> nodes_;
    std::vector<std::string> lights_;
};

}  // namespace testsupport
