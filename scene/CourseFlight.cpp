#include "scene/CourseFlight.h"

#include <stdexcept>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "game/Autopilot.h"
#include "game/GameRules.h"
#include "game/Player.h"
#include "scene/SceneController.h"
#include "scene/SceneLayout.h"

namespace common::scene {

CourseFlight::CourseFlight(const std::string& scenePath, const std::string& heightMapPath) {
    Assimp::Importer importer;
    // Only node transformations are needed: no normals.
    const aiScene* file = importer.ReadFile(scenePath, aiProcess_Triangulate);
    if (!file) {
        throw std::runtime_error("cannot read " + scenePath + ": " + importer.GetErrorString());
    }
    const SceneLayout layout = SceneLayout::read(*file, scenePath);
    bool hasCraft = false;
    for (const LayoutMesh& mesh : layout.meshes) {
        if (mesh.role == NodeRole::Player) {
            start = mesh.transform;
            hasCraft = true;
        } else if (mesh.role == NodeRole::Ring || mesh.role == NodeRole::FinishRing) {
            ringTransforms.push_back(mesh.transform);
            isFinish.push_back(mesh.role == NodeRole::FinishRing);
        }
    }
    if (!hasCraft || ringTransforms.empty()) {
        throw std::runtime_error(scenePath + " has no \"Player\" node or no rings");
    }
    ground.load(SceneController::kMaxTerrainHeight, heightMapPath);
}

CourseFlightResult CourseFlight::fly(double dt) const {
    std::deque<RingGate> gates;
    GameRules rules(&ground);
    for (std::size_t i = 0; i < ringTransforms.size(); ++i) {
        gates.emplace_back(ringTransforms[i]);
        rules.addRing(&gates.back(), isFinish[i]);
    }
    Player craft;
    craft.setModelMatrix(start);
    craft.reset();
    Autopilot pilot(ringTransforms);
    craft.setInput(&pilot);

    CourseFlightResult result;
    // Counted in steps, so the time is a whole number of them however long the flight.
    long steps = 0;
    while (!rules.finished && rules.running && steps * dt < kTimeLimit) {
        pilot.steer(craft, dt);
        craft.update(dt);
        rules.checkCollisions(craft);
        ++steps;
    }
    result.finished = rules.finished;
    result.crashed = !rules.running;
    result.seconds = steps * dt;
    result.score = rules.score;
    return result;
}

}  // namespace common::scene
