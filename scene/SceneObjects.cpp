#include "scene/SceneObjects.h"

#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "scene/Light.h"
#include "scene/Mesh.h"
#include "scene/SceneLayout.h"
#include "terrain/Terrain.h"

namespace common::scene::scene_objects {

template <typename MeshType>
std::unique_ptr<MeshType> mesh(LayoutMesh& entry, gl::ShaderType shader, gl::TextureCache& textures) {
    auto object = std::make_unique<MeshType>();
    object->shaderKey = shader;
    object->setModelMatrix(entry.transform);
    object->initFromGeometry(std::move(entry.geometry), entry.texturePath, &textures);
    object->reset();
    return object;
}

template std::unique_ptr<Mesh> mesh<Mesh>(LayoutMesh&, gl::ShaderType, gl::TextureCache&);
template std::unique_ptr<Player> mesh<Player>(LayoutMesh&, gl::ShaderType, gl::TextureCache&);
template std::unique_ptr<Terrain> mesh<Terrain>(LayoutMesh&, gl::ShaderType, gl::TextureCache&);

std::unique_ptr<CircleCheckpoint> ring(const glm::mat4& transform, gl::TextureCache& textures) {
    auto ring = std::make_unique<CircleCheckpoint>(CircleCheckpoint::kModelPath, &textures);
    ring->useLightModel(CircleCheckpoint::kLightModelPath, &textures);
    ring->castsShadow = true;
    ring->setModelMatrix(transform);
    ring->reset();
    ring->updateWorldBox();
    return ring;
}

std::unique_ptr<Mesh> disc(const LayoutMesh& discTemplate, const glm::mat4& ringTransform,
                           gl::TextureCache& textures) {
    glm::mat4 placement = ringTransform;
    placement[0] *= 8.0f;
    placement[1] *= 0.0f;
    placement[2] *= 8.0f;
    auto disc = std::make_unique<Mesh>();
    disc->shaderKey = gl::ShaderType::TransparentShader;
    disc->setModelMatrix(placement);
    disc->setPrevModelMatrix(placement);
    disc->initFromGeometry(discTemplate.geometry, discTemplate.texturePath, &textures);
    disc->reset();
    return disc;
}

std::unique_ptr<Light> light(const LayoutLight& source) {
    auto light = std::make_unique<Light>(source.position, source.direction);
    light->ambient = source.ambient;
    light->specular = source.specular;
    light->diffuse = source.diffuse;
    light->setAttenuation(source.attenuationConstant, source.attenuationLinear, source.attenuationQuadratic);
    light->setPerspective(Light::kShadowFov, Light::kShadowNear, Light::kShadowFar);
    return light;
}

}  // namespace common::scene::scene_objects
