#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "game/GameEvent.h"
#include "game/GameRules.h"
#include "game/Race.h"
#include "gl/TextureCache.h"
#include "scene/RenderPasses.h"
#include "scene/SceneLayout.h"
#include "scene/SceneObject.h"
#include "terrain/HeightMap.h"

namespace common::camera {
class CameraPersp;
class Frustum;
}  // namespace common::camera
namespace common::gl {
class RenderTarget;
}

namespace common::scene {

class CollisionObject;
class HeightMap;
class KeyInput;
class Light;
class Mesh;
class Player;
class Quad;
class SceneObject;
struct SceneLayout;
class Terrain;

// Holds the scene: every object, the chase camera with its culling frustum and shadow cascades, the
// light, the shadow maps, the height map, and the game state the renderer and HUD read. Builds its
// objects from what the scene file says (SceneLayout), advances them each frame and keeps the game
// rules' figures where the renderer and the HUD read them. The passes that draw it are in
// scene/RenderPasses. One per process (instance()); tests may build their own.
class SceneController {
  public:
    static constexpr const char* kScenePath = SceneLayout::kDefaultPath;
    static constexpr int kCascadeCount = 3;
    static constexpr int kShadowMapSize = 2048;
    static constexpr std::size_t kDiscThreshold = 25;
    static constexpr int kRingPoints = GameRules::kRingPoints;
    static constexpr int kFinishPoints = GameRules::kFinishPoints;
    static constexpr float kMaxTerrainHeight = HeightMap::kCourseMaxHeight;

    // Created on first use, after the GL context and the shader registry exist; never destroyed.
    static SceneController& instance();

    // Needs a current GL context. The ground stays flat until a scene or a course is loaded.
    SceneController();
    ~SceneController();
    SceneController(const SceneController&) = delete;
    SceneController& operator=(const SceneController&) = delete;

    // Reads the scene file and builds every object. Returns false when the file cannot be read or
    // holds no "Player" node: the game cannot run without a craft. The ground is the course's; with
    // none loaded yet, the default course's height map is read first (throws when it cannot be read).
    // With `course`, the file's own rings and start give way to the course's (a player's course
    // over a shipped landscape).
    bool loadScene(const std::string& path, const RaceCourse* course = nullptr);
    // Another course: the height map from `heightMapPath` (throws when it cannot be read, leaving the
    // scene as it was), then every object of the old scene released and the new scene file read, as
    // loadScene does. The switches (wireframe, culling) and the camera's projection stay.
    bool loadCourse(const std::string& scenePath, const std::string& heightMapPath,
                    const RaceCourse* course = nullptr);
    // The arrow keys the craft polls (not owned).
    void setKeyInput(KeyInput* input);
    // Makes the shadow maps `size` texels a side (kShadowMapSize until asked otherwise).
    void setShadowMapSize(int size);
    // Terrain tiles farther than `radius` from the craft lose half their grid lines, from the next
    // scene loaded on; 0 (the default) keeps the full terrain.
    void setTerrainDetailRadius(float radius) { terrainDetailRadius = radius; }
    // Rings drawn smaller than `fullModelPixels` across on a target `targetHeight` pixels high show
    // the light ring model (infinity: every ring does); takes effect at once and for later courses.
    void setRingDetail(float fullModelPixels, int targetHeight);
    // Width over height of the window, for the main camera's projection.
    void setAspectRatio(float aspectRatio);

    void update(double dt);
    void checkCollisions();
    // The figures and rings of the race flown elsewhere, for the fields the renderer and the HUD read.
    void followRules(const GameRules& raceRules);
    // The loaded course as a race starts it: the craft's start and the rings in course order.
    const RaceCourse& raceCourse() const { return raceCourse_; }
    void restart();
    // What the last collision pass reported (captures, finish, crash).
    const GameEvents& lastEvents() const { return events; }
    // The rules behind score, finished, running and altitude.
    const GameRules& gameRules() const { return rules; }
    void setTransparency(bool on);
    void setFilterBilinear() { forEachTexturedObject(&SceneObject::setFilterBilinear); }
    void setFilterNearest() { forEachTexturedObject(&SceneObject::setFilterNearest); }
    void setMipmapLinear() { forEachTexturedObject(&SceneObject::setMipmapLinear); }
    void setMipmapNearest() { forEachTexturedObject(&SceneObject::setMipmapNearest); }
    void setMipmapOff() { forEachTexturedObject(&SceneObject::setMipmapOff); }

    // The passes, in the order the renderer calls them (scene/RenderPasses).
    void renderShadowMaps();
    void render();
    void renderTransparent() { render_passes::drawTransparent(*this); }
    void showShadowMaps() { render_passes::drawShadowMapPreviews(*this); }

    std::int32_t getTriangleCount() const { return triangleCount; }
    std::int32_t getScore() const { return score; }
    // False while the light has no direction (the placeholder): no shadows are drawn then.
    bool hasShadows() const { return shadowsUsable; }
    // The scene's textures, one per image file.
    const gl::TextureCache& textureCache() const { return textures; }

    std::vector<SceneObject*> environment;
    std::vector<SceneObject*> objects;
    std::vector<CollisionObject*> rings;
    std::vector<CollisionObject*> finishRings;
    std::vector<SceneObject*> transparentObjects;
    std::vector<glm::mat4> ringTransforms;
    std::string scenePath;
    std::unique_ptr<camera::CameraPersp> camera;
    std::unique_ptr<camera::Frustum> frustum;
    std::unique_ptr<Light> light;
    glm::mat4 viewProjection{1.0f};
    Player* player = nullptr;
    Terrain* terrain = nullptr;
    Mesh* skybox = nullptr;
    Mesh* water = nullptr;
    std::int32_t score = 0;
    std::unique_ptr<Quad> debugQuad;
    std::vector<std::unique_ptr<gl::RenderTarget>> shadowMaps;
    std::unique_ptr<HeightMap> heightMap;
    bool wireframe = false;
    bool frustumCulling = true;
    std::int32_t triangleCount = 0;
    bool finished = false;
    bool running = true;
    float altitude = 100.0f;
    glm::mat4 playerStartMatrix{1.0f};
    glm::vec3 playerStartPosition{0.0f};

  private:
    void build(SceneLayout& layout);
    // Releases every scene object with its GL objects and forgets the rings, the craft and the light.
    void clearScene();
    // Takes the object into the scene and appends it to `list`.
    template <typename Object>
    Object* keep(std::unique_ptr<Object> object, std::vector<SceneObject*>& list);
    void updateShadowsUsable();
    // Copies the rules' figures into the fields the renderer and the HUD read, and with them the
    // lists of the rings still to capture.
    void mirrorFigures();
    void mirrorRules();
    void forEachTexturedObject(void (SceneObject::*operation)());

    // One texture per image file, shared by the objects below (declared first: it outlives them).
    gl::TextureCache textures;
    // Every object of the scene, in creation order; the lists above point into it.
    std::vector<std::unique_ptr<SceneObject>> owned;
    GameRules rules;
    RaceCourse raceCourse_;
    GameEvents events;
    KeyInput* keyInput = nullptr;
    bool shadowsUsable = false;
    // False until the first update of a game has put the camera behind the craft.
    bool cameraPlaced = false;
    float terrainDetailRadius = 0.0f;
    // Rings smaller than this many pixels across show their light model.
    float ringFullModelPixels = 0.0f;
    // Pixels an object one unit high spans at distance one on the scene target.
    float pixelsPerUnit = 1.0f;
};

}  // namespace common::scene
