#include "scene/SceneController.h"

#include <cmath>
#include <cstdio>

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "app/Logger.h"
#include "camera/CameraPersp.h"
#include "camera/Frustum.h"
#include "camera/PlaneExc.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/RenderTarget.h"
#include "gl/ShaderController.h"
#include "scene/ImportCrashGuard.h"
#include "scene/Light.h"
#include "scene/Mesh.h"
#include "scene/Quad.h"
#include "scene/RenderPasses.h"
#include "scene/SceneLayout.h"
#include "terrain/HeightMap.h"
#include "terrain/Terrain.h"

namespace common::scene {

SceneController& SceneController::instance() {
    // Never destroyed: its GL objects end with the context, after which no GL call may be made.
    static SceneController* controller = new SceneController();
    return *controller;
}

SceneController::SceneController() {
    app::Logger::instance().debug("SceneController created");
    camera = std::make_unique<camera::CameraPersp>();
    camera->createCascades(kCascadeCount);
    frustum = std::make_unique<camera::Frustum>(*camera);
    light = std::make_unique<Light>(glm::vec3(0.0f, 0.0f, 2000.0f), glm::vec3(0.0f));
    debugQuad = std::make_unique<Quad>();
    heightMap = std::make_unique<HeightMap>();
    heightMap->load(kMaxTerrainHeight);
    rules = GameRules(heightMap.get());
    for (int i = 0; i < kCascadeCount; ++i) {
        shadowMaps.push_back(std::make_unique<gl::RenderTarget>(kShadowMapSize, kShadowMapSize));
    }
    updateShadowsUsable();
}

SceneController::~SceneController() = default;

void SceneController::setKeyInput(KeyInput* input) {
    keyInput = input;
    if (player) {
        player->setInput(input);
    }
}

void SceneController::setAspectRatio(float aspectRatio) {
    camera->setPerspective(camera->fov, aspectRatio, camera->nearClip, camera->farClip);
}

// ---- Loading ----

bool SceneController::loadScene(const std::string& path) {
    app::Logger::instance().debug("Load Scene" + path);
    scenePath = path;
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    {
        ImportCrashGuard guard(path);
        scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
    }
    if (!scene) {
        std::printf("Error parsing '%s': '%s'\n", path.c_str(), importer.GetErrorString());
        return false;
    }
    SceneLayout layout = SceneLayout::read(*scene, path);
    build(layout);
    return player != nullptr;
}

void SceneController::build(SceneLayout& layout) {
    for (LayoutMesh& entry : layout.meshes) {
        switch (entry.role) {
            case NodeRole::Player:
                player = addMesh<Player>(entry, gl::ShaderType::LightShader, objects);
                player->castsShadow = true;
                player->setInput(keyInput);
                playerStartPosition = player->position;
                playerStartMatrix = entry.transform;
                break;
            case NodeRole::Ring:
            case NodeRole::FinishRing:
                addRing(entry.transform, entry.role == NodeRole::FinishRing);
                break;
            case NodeRole::Skybox:
                skybox = addMesh<Mesh>(entry, gl::ShaderType::TextureShader, environment);
                break;
            case NodeRole::Water:
                water = addMesh<Mesh>(entry, gl::ShaderType::ShadowShader, environment);
                break;
            case NodeRole::Terrain:
                terrain = addMesh<Terrain>(entry, gl::ShaderType::ShadowShader, environment);
                break;
            case NodeRole::DiscTemplate:
                break;
            case NodeRole::Plain:
                addMesh<Mesh>(entry, gl::ShaderType::LightShader, objects);
                std::printf("Unknown MESH TYPE loaded");
                break;
        }
    }
    if (ringTransforms.size() >= kDiscThreshold && layout.discTemplate) {
        createTransparentDiscs(*layout.discTemplate);
    }
    loadLights(layout);
    mirrorRules();
}

template <typename MeshType>
MeshType* SceneController::addMesh(LayoutMesh& layout, gl::ShaderType shader,
                                   std::vector<SceneObject*>& list) {
    auto object = std::make_unique<MeshType>();
    object->shaderKey = shader;
    object->setModelMatrix(layout.transform);
    object->initFromGeometry(std::move(layout.geometry), layout.texturePath);
    object->reset();
    MeshType* raw = object.get();
    list.push_back(raw);
    owned.push_back(std::move(object));
    return raw;
}

void SceneController::addRing(const glm::mat4& transform, bool isFinish) {
    auto ring = std::make_unique<CircleCheckpoint>();
    ring->castsShadow = true;
    ring->setModelMatrix(transform);
    ring->reset();
    ring->updateWorldBox();
    objects.push_back(ring.get());
    rules.addRing(ring.get(), isFinish);
    ringTransforms.push_back(transform);
    owned.push_back(std::move(ring));
}

// A disc per ring: the template flattened along the ring's axis and stretched eight times in its plane.
void SceneController::createTransparentDiscs(const LayoutMesh& discTemplate) {
    for (const glm::mat4& ringTransform : ringTransforms) {
        glm::mat4 disc = ringTransform;
        disc[0] *= 8.0f;
        disc[1] *= 0.0f;
        disc[2] *= 8.0f;
        auto mesh = std::make_unique<Mesh>();
        mesh->shaderKey = gl::ShaderType::TransparentShader;
        mesh->setModelMatrix(disc);
        mesh->setPrevModelMatrix(disc);
        mesh->initFromGeometry(discTemplate.geometry, discTemplate.texturePath);
        mesh->reset();
        transparentObjects.push_back(mesh.get());
        owned.push_back(std::move(mesh));
    }
}

void SceneController::loadLights(const SceneLayout& layout) {
    for (const std::string& name : layout.lightsWithoutNode) {
        std::printf("Could not find node for light %s", name.c_str());
    }
    for (const LayoutLight& source : layout.lights) {
        light = std::make_unique<Light>(source.position, source.direction);
        light->ambient = source.ambient;
        light->specular = source.specular;
        light->diffuse = source.diffuse;
        light->setAttenuation(source.attenuationConstant, source.attenuationLinear,
                              source.attenuationQuadratic);
        light->setPerspective(Light::kShadowFov, Light::kShadowNear, Light::kShadowFar);
    }
    updateShadowsUsable();
}

// The placeholder light has no direction and so no view to fit shadow maps to: the scene then
// draws without shadows.
void SceneController::updateShadowsUsable() {
    const glm::vec3 direction = light->direction;
    shadowsUsable = glm::dot(direction, direction) > 0.0f && std::isfinite(glm::dot(direction, direction));
}

// ---- Per frame ----

void SceneController::update(double dt) {
    for (SceneObject* object : environment) {
        object->update(dt);
    }
    for (SceneObject* object : objects) {
        object->update(dt);
    }
    // The camera has not moved yet: this is last frame's view-projection, for the velocity output.
    viewProjection = camera->projectionMatrix * camera->viewMatrix;
    if (player) {
        camera->lookAt(player->cameraEye(), player->position, glm::vec3(0.0f, 1.0f, 0.0f));
    }
    // The first update of a game moves the camera from wherever it was to the craft. That jump is
    // no motion the player saw, and the frozen countdown frame must not be smeared by it.
    if (!cameraPlaced) {
        viewProjection = camera->projectionMatrix * camera->viewMatrix;
        cameraPlaced = true;
    }
    // A degenerate frame keeps the previous frustum and cascades rather than ending the game.
    try {
        frustum->fromCamera(*camera);
        if (shadowsUsable) {
            camera->updateCascades(light->camera.viewMatrix);
        }
    } catch (const camera::PlaneExc&) {
    }
    gl::ShaderController::instance().updateCommonUniforms(*camera, *light, viewProjection);
}

void SceneController::checkCollisions() {
    if (!player) {
        return;
    }
    events = rules.checkCollisions(*player);
    mirrorRules();
}

// A new game is a fresh course: every ring scores again and the finish can be reached again.
void SceneController::restart() {
    if (player) {
        player->setModelMatrix(playerStartMatrix);
        player->position = playerStartPosition;
        player->reset();
    }
    rules.restart();
    events.clear();
    mirrorRules();
    cameraPlaced = false;
}

void SceneController::mirrorRules() {
    score = rules.score;
    finished = rules.finished;
    running = rules.running;
    altitude = rules.altitude;
    rings = rules.remainingRings();
    finishRings = rules.remainingFinishRings();
}

void SceneController::setTransparency(bool on) {
    gl::GlslProg* program = gl::ShaderController::instance().getShader(gl::ShaderType::TransparentShader);
    if (!program) {
        return;
    }
    program->bind();
    glUniform1f(gl::ShaderController::kOpacityLocation,
                on ? gl::ShaderController::kTransparentOpacity : 1.0f);
    gl::GlslProg::unbind();
}

template <typename Operation>
void SceneController::forEachTexturedObject(Operation operation) {
    for (SceneObject* object : objects) {
        operation(*object);
    }
    for (SceneObject* object : environment) {
        operation(*object);
    }
}

void SceneController::setFilterBilinear() {
    forEachTexturedObject([](SceneObject& object) { object.setFilterBilinear(); });
}
void SceneController::setFilterNearest() {
    forEachTexturedObject([](SceneObject& object) { object.setFilterNearest(); });
}
void SceneController::setMipmapLinear() {
    forEachTexturedObject([](SceneObject& object) { object.setMipmapLinear(); });
}
void SceneController::setMipmapNearest() {
    forEachTexturedObject([](SceneObject& object) { object.setMipmapNearest(); });
}
void SceneController::setMipmapOff() {
    forEachTexturedObject([](SceneObject& object) { object.setMipmapOff(); });
}

bool SceneController::isVisible(const SceneObject& object) const {
    const camera::BoundingBox* box = object.getWorldBox();
    return !box || frustum->containsBox(*box) || frustum->intersectsBox(*box);
}

// ---- Render passes (scene/RenderPasses) ----

void SceneController::renderShadowMaps() {
    render_passes::drawShadowMaps(*this);
}
void SceneController::render() {
    render_passes::drawScene(*this);
}
void SceneController::renderTransparent() {
    render_passes::drawTransparent(*this);
}
void SceneController::showShadowMaps() {
    render_passes::drawShadowMapPreviews(*this);
}

}  // namespace common::scene
