#include "scene/SceneController.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include <GL/glew.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "app/Logger.h"
#include "camera/PlaneExc.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "scene/AssimpMatrix.h"
#include "scene/ImportCrashGuard.h"
#include "scene/Mesh.h"
#include "terrain/Terrain.h"

namespace common::scene {
namespace {

// Maps clip coordinates (-1..1) to shadow-map texture coordinates (0..1).
const glm::mat4 kShadowBias(0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.5f,
                            0.5f, 0.5f, 1.0f);

const aiNode* findNode(const aiNode* node, const std::string& name) {
    if (name == node->mName.C_Str()) {
        return node;
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
        if (const aiNode* found = findNode(node->mChildren[c], name)) {
            return found;
        }
    }
    return nullptr;
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

glm::vec3 toGlm(const aiColor3D& c) {
    return glm::vec3(c.r, c.g, c.b);
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
    light = std::make_unique<Light>(glm::vec3(0.0f, 0.0f, 2000.0f), glm::vec3(0.0f));
    debugQuad = std::make_unique<Quad>();
    heightMap = std::make_unique<HeightMap>();
    heightMap->load(kMaxTerrainHeight);
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
    processNode(scene, scene->mRootNode);
    if (ringTransforms.size() >= kDiscThreshold && transparentTemplate.mesh) {
        createTransparentDiscs();
    }
    if (scene->mLights && scene->mNumLights > 0) {
        loadLights(scene);
    }
    transparentTemplate = {};
    return player != nullptr;
}

void SceneController::processNode(const aiScene* scene, const aiNode* node) {
    for (unsigned m = 0; m < node->mNumMeshes; ++m) {
        addNodeMesh(scene, node, scene->mMeshes[node->mMeshes[m]]);
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
        processNode(scene, node->mChildren[c]);
    }
}

template <typename MeshType>
MeshType* SceneController::addMesh(const aiScene* scene, const aiMesh* mesh, const glm::mat4& transform,
                                   gl::ShaderType shader, std::vector<SceneObject*>& list) {
    auto object = std::make_unique<MeshType>();
    object->shaderKey = shader;
    object->setModelMatrix(transform);
    object->initFromAiMesh(mesh, scene, scenePath);
    object->reset();
    MeshType* raw = object.get();
    list.push_back(raw);
    owned.push_back(std::move(object));
    return raw;
}

// Only the node's own transformation places the object; its parents' are not applied.
void SceneController::addNodeMesh(const aiScene* scene, const aiNode* node, const aiMesh* mesh) {
    const glm::mat4 transform = toGlm(node->mTransformation);
    const std::string name = node->mName.C_Str();
    if (name == "Player") {
        auto craft = std::make_unique<Player>();
        craft->shaderKey = gl::ShaderType::LightShader;
        craft->castsShadow = true;
        craft->setInput(keyInput);
        craft->setModelMatrix(transform);
        craft->initFromAiMesh(mesh, scene, scenePath);
        craft->reset();
        playerStartPosition = craft->position;
        playerStartMatrix = transform;
        player = craft.get();
        objects.push_back(player);
        owned.push_back(std::move(craft));
    } else if (contains(name, "Circle")) {
        addRing(transform, false);
    } else if (contains(name, "FIN")) {
        addRing(transform, true);
    } else if (name == "Skybox") {
        skybox = addMesh<Mesh>(scene, mesh, transform, gl::ShaderType::TextureShader, environment);
    } else if (name == "Water") {
        water = addMesh<Mesh>(scene, mesh, transform, gl::ShaderType::ShadowShader, environment);
    } else if (name == "Terrain") {
        terrain = addMesh<Terrain>(scene, mesh, transform, gl::ShaderType::ShadowShader, environment);
    } else if (contains(name, "Trans")) {
        transparentTemplate = {mesh, scene};
    } else {
        addMesh<Mesh>(scene, mesh, transform, gl::ShaderType::LightShader, objects);
        std::printf("Unknown MESH TYPE loaded");
    }
}

void SceneController::addRing(const glm::mat4& transform, bool isFinish) {
    auto ring = std::make_unique<CircleCheckpoint>();
    ring->castsShadow = true;
    ring->setModelMatrix(transform);
    ring->reset();
    ring->updateWorldBox();
    objects.push_back(ring.get());
    (isFinish ? finishRings : rings).push_back(ring.get());
    (isFinish ? allFinishRings : allRings).push_back(ring.get());
    ringTransforms.push_back(transform);
    owned.push_back(std::move(ring));
}

// A disc per ring: the template flattened along the ring's axis and stretched eight times in its plane.
void SceneController::createTransparentDiscs() {
    for (const glm::mat4& ringTransform : ringTransforms) {
        glm::mat4 disc = ringTransform;
        disc[0] *= 8.0f;
        disc[1] *= 0.0f;
        disc[2] *= 8.0f;
        auto mesh = std::make_unique<Mesh>();
        mesh->shaderKey = gl::ShaderType::TransparentShader;
        mesh->setModelMatrix(disc);
        mesh->setPrevModelMatrix(disc);
        mesh->initFromAiMesh(transparentTemplate.mesh, transparentTemplate.scene, scenePath);
        mesh->reset();
        transparentObjects.push_back(mesh.get());
        owned.push_back(std::move(mesh));
    }
}

void SceneController::loadLights(const aiScene* scene) {
    for (unsigned i = 0; i < scene->mNumLights; ++i) {
        const aiLight* source = scene->mLights[i];
        const aiNode* node = findNode(scene->mRootNode, source->mName.C_Str());
        if (!node) {
            std::printf("Could not find node for light %s", source->mName.C_Str());
            continue;
        }
        const glm::mat4 transform = toGlm(node->mTransformation);
        const glm::vec3 position(transform *
                                 glm::vec4(source->mPosition.x, source->mPosition.y, source->mPosition.z, 1));
        const glm::vec3 direction(
            transform * glm::vec4(source->mDirection.x, source->mDirection.y, source->mDirection.z, 0));
        light = std::make_unique<Light>(position, direction);
        light->ambient = toGlm(source->mColorAmbient);
        light->specular = toGlm(source->mColorSpecular);
        light->diffuse = toGlm(source->mColorDiffuse);
        light->setAttenuation(source->mAttenuationConstant, source->mAttenuationLinear,
                              source->mAttenuationQuadratic);
        light->setPerspective(40.0f, 100.0f, 1000.0f);
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
    auto capture = [this](std::vector<CollisionObject*>& list, bool isFinish) {
        for (auto it = list.begin(); it != list.end();) {
            if ((*it)->collides(*player, isFinish)) {
                score += isFinish ? kFinishPoints : kRingPoints;
                finished = finished || isFinish;
                it = list.erase(it);
            } else {
                ++it;
            }
        }
    };
    capture(rings, false);
    capture(finishRings, true);
    altitude = heightMap->altitude(player->position.x, player->position.y, player->position.z);
    if (altitude <= 0.0f) {
        running = false;
    }
}

// A new game is a fresh course: every ring scores again and the finish can be reached again.
void SceneController::restart() {
    score = 0;
    if (player) {
        player->setModelMatrix(playerStartMatrix);
        player->position = playerStartPosition;
        player->reset();
    }
    rings = allRings;
    finishRings = allFinishRings;
    cameraPlaced = false;
    finished = false;
    running = true;
}

void SceneController::setTransparency(bool on) {
    gl::GlslProg* program = gl::ShaderController::instance().getShader(gl::ShaderType::TransparentShader);
    if (!program) {
        return;
    }
    program->bind();
    glUniform1f(0, on ? 0.3f : 1.0f);
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

// ---- Render passes ----

bool SceneController::isVisible(const SceneObject& object) const {
    const camera::BoundingBox* box = object.getWorldBox();
    return !box || frustum->containsBox(*box) || frustum->intersectsBox(*box);
}

// Leaves the default framebuffer bound and back-face culling on; the caller restores the viewport.
void SceneController::renderShadowMaps() {
    glCullFace(GL_FRONT);
    gl::GlslProg* depthProgram =
        gl::ShaderController::instance().getShader(gl::ShaderType::ShadowDepthShader);
    for (int i = 0; i < kCascadeCount; ++i) {
        shadowMaps[i]->bindForWriting();
        glClear(GL_DEPTH_BUFFER_BIT);
        // Without a usable light the maps stay cleared to the far depth: nothing is in shadow.
        if (depthProgram && shadowsUsable) {
            depthProgram->bind();
            depthProgram->setUniform("projectionMatrix", camera->cascadeMatrices[i]);
            for (SceneObject* object : objects) {
                if (!object->castsShadow) {
                    continue;
                }
                if (!frustumCulling || object == player || isVisible(*object)) {
                    object->drawDepth();
                }
            }
        }
        shadowMaps[i]->unbind();
    }
    glCullFace(GL_BACK);
}

void SceneController::setShadowReceiverUniforms() {
    gl::GlslProg* program = gl::ShaderController::instance().getShader(gl::ShaderType::ShadowShader);
    if (!program) {
        return;
    }
    const glm::mat4& lightView = light->camera.viewMatrix;
    float far[kCascadeCount];
    glm::mat4 shadowCoord[kCascadeCount];
    for (int i = 0; i < kCascadeCount; ++i) {
        far[i] = camera->cascadeFrustums[i]->farDistance;
        shadowCoord[i] = kShadowBias * camera->cascadeMatrices[i] * lightView;
    }
    program->bind();
    program->setUniform("ShadowCoord1", shadowCoord[0]);
    program->setUniform("ShadowCoord2", shadowCoord[1]);
    program->setUniform("ShadowCoord3", shadowCoord[2]);
    program->setUniform("myTextureSampler", 0);
    program->setUniform("shadowMap1", 1);
    program->setUniform("shadowMap2", 2);
    program->setUniform("shadowMap3", 3);
    const GLfloat farDistances[4] = {far[0], far[1], far[2], 1.0f};
    glUniform4fv(glGetUniformLocation(program->handle, "far_d"), 1, farDistances);
    for (int i = 0; i < kCascadeCount; ++i) {
        glActiveTexture(GL_TEXTURE1 + i);
        glBindTexture(GL_TEXTURE_2D, shadowMaps[i]->texture);
    }
}

// Leaves the shadow maps bound on units 1 to 3 and unit 0 active.
void SceneController::render() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    triangleCount = 0;
    for (SceneObject* object : environment) {
        triangleCount += object->getTriangleCount();
        if (object == terrain) {
            setShadowReceiverUniforms();
        }
        object->draw();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
        if (wireframe) {
            object->drawBoundingBox();
        }
    }
    for (SceneObject* object : objects) {
        if (frustumCulling && object != player && object != terrain && !isVisible(*object)) {
            continue;
        }
        triangleCount += object->getTriangleCount();
        object->draw();
        if (wireframe) {
            object->drawBoundingBox();
        }
    }
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

void SceneController::renderTransparent() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (SceneObject* object : transparentObjects) {
        object->draw();
    }
    glDisable(GL_BLEND);
}

// The maps are made for depth comparison; the previews switch it off so they show the depth itself,
// as grey (a depth texture reads as red alone).
void SceneController::showShadowMaps() {
    const GLint depthAsGrey[4] = {GL_RED, GL_RED, GL_RED, GL_ONE};
    const GLint plain[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
    for (int i = 0; i < kCascadeCount; ++i) {
        shadowMaps[i]->unbind();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, shadowMaps[i]->texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, depthAsGrey);
        glViewport(160 + 130 * i, 0, 128, 128);
        debugQuad->draw();
        glBindTexture(GL_TEXTURE_2D, shadowMaps[i]->texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, plain);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

}  // namespace common::scene
