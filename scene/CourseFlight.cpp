#include "scene/CourseFlight.h"

#include <algorithm>
#include <stdexcept>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "scene/SceneLayout.h"

namespace common::scene {

CourseFlight::CourseFlight(const std::string& scenePath, const std::string& heightMapPath,
                           float maxTerrainHeight) {
    Assimp::Importer importer;
    const aiScene* file = importer.ReadFile(scenePath, aiProcess_Triangulate);
    if (file == nullptr) {
        throw std::runtime_error("cannot read course " + scenePath + ": " + importer.GetErrorString());
    }
    const SceneLayout layout = SceneLayout::read(*file, scenePath);
    ground_.load(maxTerrainHeight, heightMapPath);
    for (const LayoutMesh& mesh : layout.meshes) {
        if (mesh.role == NodeRole::Player) {
            start_ = mesh.transform;
        } else if (mesh.role == NodeRole::Ring || mesh.role == NodeRole::FinishRing) {
            gates_.emplace_back(mesh.transform);
            rules_.addRing(&gates_.back(), mesh.role == NodeRole::FinishRing);
        }
    }
    ringTransforms_ = layout.ringTransforms;
    if (ringTransforms_.empty() || rules_.remainingFinishRings().empty()) {
        throw std::runtime_error("course " + scenePath + " has no finish ring");
    }
    ringCount_ = rules_.remainingRings().size();
    pilot_ = std::make_unique<Autopilot>(ringTransforms_);
    restart();
}

void CourseFlight::restart() {
    craft_.setModelMatrix(start_);
    craft_.reset();
    rules_.restart();
}

std::int32_t CourseFlight::fullScore() const {
    return GameRules::kRingPoints * std::int32_t(ringCount_) + GameRules::kFinishPoints;
}

FlightResult CourseFlight::fly(double dt) {
    restart();
    pilot_ = std::make_unique<Autopilot>(ringTransforms_);
    return flyOn(dt);
}

FlightResult CourseFlight::flyOn(double dt, const std::function<bool()>& stop) {
    // The frame the game runs while it advances, minus the drawing: steer, fly, score.
    craft_.setInput(pilot_.get());
    FlightResult result;
    while (!rules_.finished && result.seconds < kTimeLimit && !stop()) {
        pilot_->steer(craft_, dt);
        craft_.update(dt);
        rules_.checkCollisions(craft_);
        result.seconds += dt;
        result.lowestAltitude = std::min(result.lowestAltitude, rules_.altitude);
        if (!rules_.running) {
            result.crashed = true;
            break;
        }
    }
    result.finished = rules_.finished;
    result.score = rules_.score;
    return result;
}

}  // namespace common::scene
