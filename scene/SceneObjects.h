#pragma once

#include <memory>

#include <glm/glm.hpp>

#include "gl/ShaderType.h"

namespace common::gl {
class TextureCache;
}

namespace common::scene {

class CircleCheckpoint;
class Light;
class Mesh;
struct LayoutLight;
struct LayoutMesh;

// Makes the scene's objects from what the scene file says: meshes with their GL buffers and
// textures, rings with their model, the ring discs and the light. Needs a current GL context. Every
// texture comes from the scene's texture cache, which must outlive the objects.
namespace scene_objects {

// A mesh of type MeshType (Mesh, Player, Terrain) placed and drawn as the entry says; takes the
// entry's geometry.
template <typename MeshType>
std::unique_ptr<MeshType> mesh(LayoutMesh& entry, gl::ShaderType shader, gl::TextureCache& textures);
// A ring placed by `transform`, casting a shadow, its world box made, with its light model beside the full
// one.
std::unique_ptr<CircleCheckpoint> ring(const glm::mat4& transform, gl::TextureCache& textures);
// The transparent disc of the ring placed by `ringTransform`: the template flattened along the
// ring's axis and stretched eight times in its plane.
std::unique_ptr<Mesh> disc(const LayoutMesh& discTemplate, const glm::mat4& ringTransform,
                           gl::TextureCache& textures);
// The file's light, with the projection its shadow view uses.
std::unique_ptr<Light> light(const LayoutLight& source);

}  // namespace scene_objects
}  // namespace common::scene
