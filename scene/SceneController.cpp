#include "scene/SceneController.h"

#include <cmath>
#include <cstdio>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "app/Logger.h"
#include "camera/CameraPersp.h"
#include "camera/Frustum.h"
#include "camera/PlaneExc.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/RenderTarget.h"
#include "gl/ShaderController.h"
#include "scene/ImportCrashGuard.h"
#include "scene/Light.h"
#include "scene/Mesh.h"
#include "scene/Quad.h"
#include "scene/RenderPasses.h"
#include "scene/SceneLayout.h"
#include "scene/SceneObjects.h"
#include "terrain/HeightMap.h"
#include "terrain/Terrain.h"

namespace common::scene {
namespace {

// Until the scene file gives one: no direction, so no shadows.
std::unique_ptr<Light> placeholderLight() {
    return std::make_unique<Light>(glm::vec3(0.0f, 0.0f, 2000.0f), glm::vec3(0.0f));
}

}  // namespace

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
    light = placeholderLight();
    debugQuad = std::make_unique<Quad>();
    // Flat until a course or a scene is loaded: a start with another course never reads this one's.
    heightMap = std::make_unique<HeightMap>();
    rules = GameRules(heightMap.get());
    setShadowMapSize(kShadowMapSize);
    updateShadowsUsable();
}

void SceneController::setShadowMapSize(int size) {
    if (!shadowMaps.empty() && shadowMaps.front()->width == static_cast<GLuint>(size)) {
        return;
    }
    shadowMaps.clear();
    for (int i = 0; i < kCascadeCount; ++i) {
        shadowMaps.push_back(std::make_unique<gl::RenderTarget>(size, size));
    }
}

SceneController::~SceneController() = default;

void SceneController::setKeyInput(KeyInput* input) {
    keyInput = input;
    if (player) {
        player->setInput(input);
    }
}

void SceneController::setRingDetail(float fullModelPixels, int targetHeight) {
    ringFullModelPixels = fullModelPixels;
    pixelsPerUnit = static_cast<float>(targetHeight) / (2.0f * std::tan(0.5f * glm::radians(camera->fov)));
    for (SceneObject* object : objects) {
        if (auto* ring = dynamic_cast<CircleCheckpoint*>(object)) {
            ring->setLightModelBelow(ringFullModelPixels, pixelsPerUnit);
        }
    }
}

void SceneController::setAspectRatio(float aspectRatio) {
    camera->setPerspective(camera->fov, aspectRatio, camera->nearClip, camera->farClip);
}

// ---- Loading ----

bool SceneController::loadScene(const std::string& path, const RaceCourse* course) {
    if (!heightMap->loaded()) {
        heightMap->load(kMaxTerrainHeight);
    }
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
    if (course) {
        layout.replaceCourse(*course);
    }
    build(layout);
    return player != nullptr;
}

bool SceneController::loadCourse(const std::string& scenePath, const std::string& heightMapPath,
                                 const RaceCourse* course) {
    auto ground = std::make_unique<HeightMap>();
    ground->load(kMaxTerrainHeight, heightMapPath);
    clearScene();
    heightMap = std::move(ground);
    rules = GameRules(heightMap.get());
    return loadScene(scenePath, course);
}

void SceneController::clearScene() {
    rules = GameRules(heightMap.get());
    events.clear();
    environment.clear();
    objects.clear();
    transparentObjects.clear();
    ringTransforms.clear();
    raceCourse_ = RaceCourse{};
    player = nullptr;
    terrain = nullptr;
    skybox = nullptr;
    water = nullptr;
    owned.clear();
    // The next course shows its own pictures; the few it shares are loaded again.
    textures.clear();
    light = placeholderLight();
    updateShadowsUsable();
    cameraPlaced = false;
    mirrorRules();
}

void SceneController::build(SceneLayout& layout) {
    for (LayoutMesh& entry : layout.meshes) {
        switch (entry.role) {
            case NodeRole::Player:
                player =
                    keep(scene_objects::mesh<Player>(entry, gl::ShaderType::LightShader, textures), objects);
                player->castsShadow = true;
                player->setInput(keyInput);
                playerStartPosition = player->position;
                playerStartMatrix = entry.transform;
                raceCourse_.start = entry.transform;
                break;
            case NodeRole::Ring:
            case NodeRole::FinishRing: {
                CircleCheckpoint* ring = keep(scene_objects::ring(entry.transform, textures), objects);
                ring->setLightModelBelow(ringFullModelPixels, pixelsPerUnit);
                rules.addRing(ring, entry.role == NodeRole::FinishRing);
                ringTransforms.push_back(entry.transform);
                raceCourse_.rings.push_back({entry.transform, entry.role == NodeRole::FinishRing});
                break;
            }
            case NodeRole::Skybox:
                skybox = keep(scene_objects::mesh<Mesh>(entry, gl::ShaderType::TextureShader, textures),
                              environment);
                break;
            case NodeRole::Water:
                water = keep(scene_objects::mesh<Mesh>(entry, gl::ShaderType::ShadowShader, textures),
                             environment);
                break;
            case NodeRole::Terrain:
                terrain = keep(scene_objects::mesh<Terrain>(entry, gl::ShaderType::ShadowShader, textures),
                               environment);
                if (terrainDetailRadius > 0.0f) {
                    terrain->reduceDetailBeyond(terrainDetailRadius);
                }
                break;
            case NodeRole::DiscTemplate:
                break;
            case NodeRole::Plain:
                keep(scene_objects::mesh<Mesh>(entry, gl::ShaderType::LightShader, textures), objects);
                app::Logger::instance().line("Unknown MESH TYPE loaded");
                break;
        }
    }
    if (ringTransforms.size() >= kDiscThreshold && layout.discTemplate) {
        for (const glm::mat4& ringTransform : ringTransforms) {
            keep(scene_objects::disc(*layout.discTemplate, ringTransform, textures), transparentObjects);
        }
    }
    for (const std::string& name : layout.lightsWithoutNode) {
        app::Logger::instance().line("Could not find node for light " + name);
    }
    for (const LayoutLight& source : layout.lights) {
        light = scene_objects::light(source);
    }
    updateShadowsUsable();
    mirrorRules();
}

template <typename Object>
Object* SceneController::keep(std::unique_ptr<Object> object, std::vector<SceneObject*>& list) {
    Object* raw = object.get();
    list.push_back(raw);
    owned.push_back(std::move(object));
    return raw;
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
        if (terrain) {
            terrain->focusDetailOn(player->position);
        }
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

void SceneController::followRules(const GameRules& raceRules) {
    if (rules.copyProgress(raceRules)) {
        mirrorRules();
    } else {
        mirrorFigures();
    }
}

void SceneController::checkCollisions() {
    if (!player) {
        return;
    }
    events = rules.checkCollisions(*player);
    // The ring lists change only with a capture; most frames copy just the figures.
    mirrorFigures();
    if (!events.empty()) {
        mirrorRules();
    }
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

void SceneController::mirrorFigures() {
    score = rules.score;
    finished = rules.finished;
    running = rules.running;
    altitude = rules.altitude;
}

void SceneController::mirrorRules() {
    mirrorFigures();
    rings = rules.remainingRings();
    finishRings = rules.remainingFinishRings();
}

void SceneController::setTransparency(bool on) {
    gl::ShaderController::instance().setTransparentOpacity(on ? gl::ShaderController::kTransparentOpacity
                                                              : 1.0f);
}

// The passes take the programs from the registry that this controller feeds every frame.
void SceneController::renderShadowMaps() {
    render_passes::drawShadowMaps(*this, gl::ShaderController::instance());
}

void SceneController::render() {
    render_passes::drawScene(*this, gl::ShaderController::instance());
}

// The texture switches reach the objects and the environment; the discs keep theirs.
void SceneController::forEachTexturedObject(void (SceneObject::*operation)()) {
    for (SceneObject* object : objects) {
        (object->*operation)();
    }
    for (SceneObject* object : environment) {
        (object->*operation)();
    }
}

}  // namespace common::scene
