#pragma once

#include <string>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "tools/MeshData.h"

namespace common::assetgen {

// Collects materials, meshes, nodes and lights and writes them as one COLLADA file through Assimp's
// exporter. Every node is a direct child of the root and carries its own full transformation, since
// the game reads each node's transformation on its own. The output is byte-identical from run to run.
class ColladaWriter {
  public:
    // `texture` is the diffuse texture's file name relative to the COLLADA file; empty for none.
    int addMaterial(const std::string& name, const std::string& texture, const glm::dvec3& diffuse);
    int addMesh(const std::string& name, const MeshData& mesh, int material);
    void addNode(const std::string& name, const glm::dmat4& transform, const std::vector<int>& meshes);
    // A directional light on a node of the same name; it shines along the node's local -z axis.
    void addLight(const std::string& name, const glm::dmat4& transform, const glm::dvec3& colour);

    // Throws std::runtime_error naming the path when the export or the write fails.
    void write(const std::string& path) const;

  private:
    struct Material {
        std::string name;
        std::string texture;
        glm::dvec3 diffuse;
    };
    struct Mesh {
        std::string name;
        MeshData data;
        int material;
    };
    struct Node {
        std::string name;
        glm::dmat4 transform;
        std::vector<int> meshes;
    };
    struct Light {
        std::string name;
        glm::dvec3 colour;
    };

    std::vector<Material> materials_;
    std::vector<Mesh> meshes_;
    std::vector<Node> nodes_;
    std::vector<Light> lights_;
};

}  // namespace common::assetgen
