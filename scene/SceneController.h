#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "camera/CameraPersp.h"
#include "camera/Frustum.h"
#include "gl/RenderTarget.h"
#include "gl/ShaderType.h"
#include "scene/Light.h"
#include "scene/Quad.h"
#include "terrain/HeightMap.h"

struct aiMesh;
struct aiNode;
struct aiScene;

namespace common::scene {

class CircleCheckpoint;
class CollisionObject;
class KeyInput;
class Mesh;
class Player;
class SceneObject;
class Terrain;

// Holds the scene: every object, the chase camera with its culling frustum and shadow cascades, the
// light, the shadow maps, the height map, and the game state the renderer and HUD read. Loads the
// scene from one model file, deciding each object's role by its node's name; advances it each frame;
// draws it in four passes. One per process (instance()); tests may build their own.
class SceneController {
  public:
    static constexpr const char* kScenePath = "../resources/meshes/low_res_Mountain/mountain_player.dae";
    static constexpr int kCascadeCount = 3;
    static constexpr int kShadowMapSize = 2048;
    static constexpr std::size_t kDiscThreshold = 25;
    static constexpr int kRingPoints = 50;
    static constexpr int kFinishPoints = 100;
    static constexpr float kMaxTerrainHeight = 100.0f;

    // Created on first use, after the GL context and the shader registry exist; never destroyed.
    static SceneController& instance();

    // Needs a current GL context; loads the height map (throws when it cannot be read).
    SceneController();
    ~SceneController();
    SceneController(const SceneController&) = delete;
    SceneController& operator=(const SceneController&) = delete;

    // Reads the scene file and builds every object. Returns false when the file cannot be read or
    // holds no "Player" node: the game cannot run without a craft.
    bool loadScene(const std::string& path);
    // The arrow keys the craft polls (not owned).
    void setKeyInput(KeyInput* input);
    // Width over height of the window, for the main camera's projection.
    void setAspectRatio(float aspectRatio);

    void update(double dt);
    void checkCollisions();
    void restart();
    void setTransparency(bool on);
    void setFilterBilinear();
    void setFilterNearest();
    void setMipmapLinear();
    void setMipmapNearest();
    void setMipmapOff();

    void renderShadowMaps();
    void render();
    void renderTransparent();
    void showShadowMaps();

    std::int32_t getTriangleCount() const { return triangleCount; }
    std::int32_t getScore() const { return score; }
    // False while the light has no direction (the placeholder): no shadows are drawn then.
    bool hasShadows() const { return shadowsUsable; }

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
    struct TransparentTemplate {
        const aiMesh* mesh = nullptr;
        const aiScene* scene = nullptr;
    };

    void processNode(const aiScene* scene, const aiNode* node);
    void addNodeMesh(const aiScene* scene, const aiNode* node, const aiMesh* mesh);
    void addRing(const glm::mat4& transform, bool isFinish);
    template <typename MeshType>
    MeshType* addMesh(const aiScene* scene, const aiMesh* mesh, const glm::mat4& transform,
                      gl::ShaderType shader, std::vector<SceneObject*>& list);
    void createTransparentDiscs();
    void loadLights(const aiScene* scene);
    void updateShadowsUsable();
    bool isVisible(const SceneObject& object) const;
    void setShadowReceiverUniforms();
    template <typename Operation>
    void forEachTexturedObject(Operation operation);

    // Every object of the scene, in creation order; the lists above point into it.
    std::vector<std::unique_ptr<SceneObject>> owned;
    // All rings as loaded, so a restart can put every captured ring back.
    std::vector<CollisionObject*> allRings;
    std::vector<CollisionObject*> allFinishRings;
    TransparentTemplate transparentTemplate;
    KeyInput* keyInput = nullptr;
    bool shadowsUsable = false;
    // False until the first update of a game has put the camera behind the craft.
    bool cameraPlaced = false;
};

}  // namespace common::scene
