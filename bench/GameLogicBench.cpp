// Per-frame cost of the game logic alone, on the CPU: the scene update (every object, the chase
// camera, the culling frustum, the cascade fitting, the per-frame uniforms), the collision pass, and
// the culling tests the four passes of a frame make. Measured on the shipped scene and on scenes
// with 25, 100 and 1000 rings, made from the shipped scene by adding copies of its rings.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include "bench/BenchSupport.h"
#include "camera/CameraPersp.h"
#include "camera/Frustum.h"
#include "game/Player.h"
#include "scene/Light.h"
#include "scene/SceneController.h"
#include "scene/SceneObject.h"

using common::scene::SceneController;

namespace {

constexpr double kStep = 1.0 / 60.0;
// Copies of the rings are stacked above the course, this far apart.
constexpr float kCopySpacing = 12.0f;

std::string scaledScenePath(int rings) {
    const std::string scene = SceneController::kScenePath;
    return scene.substr(0, scene.rfind('/') + 1) + "bench_rings_" + std::to_string(rings) + ".dae";
}

bool isRing(const aiNode* node) {
    return std::string(node->mName.C_Str()).find("Circle") != std::string::npos;
}

// Writes the shipped scene with `rings` ring transforms in all (the finish included) beside it, so
// that its textures resolve. The extra rings copy the course's rings, lifted clear of the course.
bool writeScaledScene(int rings, const std::string& path) {
    Assimp::Importer importer;
    if (!importer.ReadFile(SceneController::kScenePath, 0)) {
        std::fprintf(stderr, "Cannot read %s: %s\n", SceneController::kScenePath, importer.GetErrorString());
        return false;
    }
    aiScene* scene = importer.GetOrphanedScene();
    aiNode* root = scene->mRootNode;
    std::vector<aiNode*> courseRings;
    for (unsigned i = 0; i < root->mNumChildren; ++i) {
        if (isRing(root->mChildren[i])) {
            courseRings.push_back(root->mChildren[i]);
        }
    }
    const int existing = int(courseRings.size()) + 1;  // and the finish
    const int extra = rings - existing;
    if (courseRings.empty() || extra < 0) {
        delete scene;
        return false;
    }
    auto** children = new aiNode*[root->mNumChildren + unsigned(extra)];
    std::copy(root->mChildren, root->mChildren + root->mNumChildren, children);
    for (int k = 0; k < extra; ++k) {
        const aiNode* original = courseRings[std::size_t(k) % courseRings.size()];
        auto* copy = new aiNode("Circle.bench." + std::to_string(k));
        copy->mTransformation = original->mTransformation;
        copy->mTransformation.b4 += kCopySpacing * float(1 + k / int(courseRings.size()));
        copy->mNumMeshes = original->mNumMeshes;
        copy->mMeshes = new unsigned[copy->mNumMeshes];
        std::copy(original->mMeshes, original->mMeshes + original->mNumMeshes, copy->mMeshes);
        copy->mParent = root;
        children[root->mNumChildren + unsigned(k)] = copy;
    }
    delete[] root->mChildren;
    root->mChildren = children;
    root->mNumChildren += unsigned(extra);
    Assimp::Exporter exporter;
    const bool written = exporter.Export(scene, "collada", path) == AI_SUCCESS;
    delete scene;
    return written;
}

// Scenes are loaded once per ring count and kept for every benchmark that uses that count; they
// are released before the context goes.
std::map<int, std::unique_ptr<SceneController>>& loadedScenes() {
    static std::map<int, std::unique_ptr<SceneController>> scenes;
    return scenes;
}

SceneController& sceneWithRings(int rings) {
    auto& scenes = loadedScenes();
    auto found = scenes.find(rings);
    if (found != scenes.end()) {
        return *found->second;
    }
    const int console = bench::silenceStdout();
    auto scene = std::make_unique<SceneController>();
    if (rings == 0) {
        scene->loadScene(SceneController::kScenePath);
    } else {
        const std::string path = scaledScenePath(rings);
        if (!writeScaledScene(rings, path)) {
            std::fprintf(stderr, "Cannot build a scene with %d rings\n", rings);
            std::exit(-1);
        }
        scene->loadScene(path);
        std::remove(path.c_str());
    }
    bench::restoreStdout(console);
    if (!scene->player) {
        std::fputs("The scene has no craft: build the skyrings_assets target\n", stderr);
        std::exit(-1);
    }
    return *scenes.emplace(rings, std::move(scene)).first->second;
}

// The craft flies hands-off, so no ring is ever taken and every frame tests them all; a crash or
// the finish restarts the game as the R key would.
void keepFlying(SceneController& scene) {
    if (!scene.running || scene.finished) {
        scene.restart();
    }
}

// The culling tests of one frame: the main pass and the three shadow passes each test every object
// of the object list against the view frustum.
int cullAll(const SceneController& scene) {
    int visible = 0;
    for (int pass = 0; pass < 1 + SceneController::kCascadeCount; ++pass) {
        for (const common::scene::SceneObject* object : scene.objects) {
            if (pass > 0 && !object->castsShadow) {
                continue;
            }
            const common::camera::BoundingBox* box = object->getWorldBox();
            visible += !box || scene.frustum->containsBox(*box) || scene.frustum->intersectsBox(*box);
        }
    }
    return visible;
}

void setRingCounters(benchmark::State& state, const SceneController& scene) {
    state.counters["rings"] = double(scene.ringTransforms.size());
    state.counters["objects"] = double(scene.objects.size());
}

// Ring count from the benchmark argument; 0 is the shipped scene file itself.
SceneController& sceneFor(const benchmark::State& state) {
    return sceneWithRings(int(state.range(0)));
}

void logicFrame(benchmark::State& state) {
    SceneController& scene = sceneFor(state);
    for (auto _ : state) {
        keepFlying(scene);
        scene.update(kStep);
        scene.checkCollisions();
        benchmark::DoNotOptimize(cullAll(scene));
    }
    setRingCounters(state, scene);
    state.SetComplexityN(state.range(0) == 0 ? std::int64_t(scene.ringTransforms.size()) : state.range(0));
}

void sceneUpdate(benchmark::State& state) {
    SceneController& scene = sceneFor(state);
    for (auto _ : state) {
        keepFlying(scene);
        scene.update(kStep);
        scene.checkCollisions();  // keeps the crash test going; measured on its own below
    }
    setRingCounters(state, scene);
}

void collisionPass(benchmark::State& state) {
    SceneController& scene = sceneFor(state);
    scene.update(kStep);
    for (auto _ : state) {
        scene.checkCollisions();
        if (!scene.running || scene.finished) {
            scene.restart();
        }
    }
    setRingCounters(state, scene);
}

void culling(benchmark::State& state) {
    SceneController& scene = sceneFor(state);
    scene.update(kStep);
    for (auto _ : state) {
        benchmark::DoNotOptimize(cullAll(scene));
    }
    setRingCounters(state, scene);
}

void cascadeFitting(benchmark::State& state) {
    SceneController& scene = sceneFor(state);
    scene.update(kStep);
    for (auto _ : state) {
        scene.camera->updateCascades(scene.light->camera.viewMatrix);
        benchmark::DoNotOptimize(scene.camera->cascadeMatrices.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    bench::enterRunDirectory();
    GLFWwindow* window = bench::openGameWindow(64, 64, false);
    std::printf("Game logic per frame (CPU only, no drawing) on %s\n", bench::glRenderer().c_str());
    std::printf("Argument: rings in the scene; 0 = the shipped scene file as it is. Load %s\n\n",
                bench::loadAverages().c_str());

    benchmark::RegisterBenchmark("logic_frame", logicFrame)
        ->Arg(25)
        ->Arg(100)
        ->Arg(1000)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("logic_frame/shipped", logicFrame)->Arg(0)->Unit(benchmark::kMicrosecond);
    for (auto [name, function] :
         {std::pair{"scene_update", sceneUpdate}, std::pair{"collision_pass", collisionPass},
          std::pair{"culling_4_passes", culling}}) {
        benchmark::RegisterBenchmark(name, function)
            ->Arg(0)
            ->Arg(100)
            ->Arg(1000)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("cascade_fitting", cascadeFitting)->Arg(0)->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    loadedScenes().clear();
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}
