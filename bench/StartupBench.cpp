// Start-up time: from process start to the first presented frame, and what takes how long.
//
// The program starts copies of itself: "--first-frame" does what the game's entry point does
// (Renderer::instance, init, debug output, one update + draw + swap) and reports when it got to
// main and to each step; "--pieces" builds the same objects one by one, in the renderer's order,
// timing each, and then times the parts of scene loading on their own: parsing the scene file,
// the rings' parts (the ring model is read once, then copied for each ring), and the texture loads.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "app/DebugOutput.h"
#include "app/FrameTime.h"
#include "app/GameWindow.h"
#include "app/QualityPreset.h"
#include "app/Renderer.h"
#include "bench/BenchSupport.h"
#include "game/CircleCheckpoint.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "gl/Texture.h"
#include "gl/TextureCache.h"
#include "hud/Hud.h"
#include "scene/Mesh.h"
#include "scene/Quad.h"
#include "scene/SceneController.h"

using common::scene::SceneController;

namespace {

constexpr int kRuns = 5;
constexpr unsigned kImportFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals;

// ---- Child: the game's own start-up, up to the first presented frame ----

int firstFrame() {
    const double atMain = bench::nowSeconds();
    const int console = bench::silenceStdout();
    common::app::Renderer& renderer = common::app::Renderer::instance();
    renderer.init();
    common::app::debug_output::install();
    const double initialised = bench::nowSeconds();
    // The first frame's step is clamped: loading took longer than 0.04 s.
    renderer.update(common::app::kMaxFrameTime);
    renderer.draw();
    glfwSwapBuffers(renderer.window());
    glFinish();
    const double presented = bench::nowSeconds();
    bench::restoreStdout(console);
    std::printf("timestamps %.9f %.9f %.9f\n", atMain, initialised, presented);
    std::fflush(stdout);
    glfwTerminate();
    return 0;
}

// ---- Child: the pieces of start-up, built as the renderer builds them ----

void report(const char* piece, double milliseconds) {
    std::printf("piece %s %.3f\n", piece, milliseconds);
}

// Texture files each use in a scene loads, keyed by path: a mesh of a node with a role loads its
// material's first diffuse texture; ring nodes load the ring model's parts instead (once per ring),
// and the disc template is loaded once per ring as well.
void countTextureUses(const aiScene* scene, const std::string& scenePath, const aiNode* node, int perUse,
                      std::map<std::string, int>& uses, bool ringModel) {
    const std::string name = node->mName.C_Str();
    const bool ring =
        !ringModel && (name.find("Circle") != std::string::npos || name.find("FIN") != std::string::npos);
    const bool disc = !ringModel && !ring && name.find("Trans") != std::string::npos;
    for (unsigned m = 0; m < node->mNumMeshes && !ring; ++m) {
        const aiMaterial* material = scene->mMaterials[scene->mMeshes[node->mMeshes[m]]->mMaterialIndex];
        aiString path;
        if (aiGetMaterialTextureCount(material, aiTextureType_DIFFUSE) > 0 &&
            aiGetMaterialTexture(material, aiTextureType_DIFFUSE, 0, &path, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr) == aiReturn_SUCCESS) {
            uses[common::scene::MeshGeometry::directoryOf(scenePath) + "/" + path.C_Str()] +=
                disc ? perUse : 1;
        }
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
        countTextureUses(scene, scenePath, node->mChildren[c], perUse, uses, ringModel);
    }
}

int countRings(const aiNode* node) {
    const std::string name = node->mName.C_Str();
    int rings = int(node->mNumMeshes) *
                (name.find("Circle") != std::string::npos || name.find("FIN") != std::string::npos ? 1 : 0);
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
        rings += countRings(node->mChildren[c]);
    }
    return rings;
}

int pieces() {
    const int console = bench::silenceStdout();
    std::vector<std::pair<std::string, double>> times;
    auto time = [&](const char* piece, auto&& build) {
        const double start = bench::nowSeconds();
        build();
        glFinish();
        times.emplace_back(piece, bench::millisecondsSince(start));
    };

    std::unique_ptr<common::app::GameWindow> window;
    time("window", [&] {
        window = std::make_unique<common::app::GameWindow>(
            bench::kWidth, bench::kHeight, false,
            common::app::QualityPreset::of(common::app::Quality::High).windowSamples);
    });
    time("shaders", [] { common::gl::ShaderController::instance(); });
    time("controller", [] { SceneController::instance(); });
    SceneController& scene = SceneController::instance();
    scene.setAspectRatio(float(bench::kWidth) / float(bench::kHeight));
    time("scene", [&] { scene.loadScene(SceneController::kScenePath); });
    std::unique_ptr<common::gl::SceneRenderTarget> target;
    std::unique_ptr<common::scene::Quad> composite;
    std::unique_ptr<common::scene::Quad> preview;
    time("target_quads", [&] {
        target = std::make_unique<common::gl::SceneRenderTarget>();
        target->init(bench::kWidth, bench::kHeight);
        composite = std::make_unique<common::scene::Quad>();
        preview = std::make_unique<common::scene::Quad>();
    });
    std::unique_ptr<common::hud::Hud> hud;
    time("hud", [&] { hud = std::make_unique<common::hud::Hud>(bench::kWidth, bench::kHeight); });

    // The parts of scene loading, each on its own.
    int rings = 0;
    std::map<std::string, int> textureUses;
    time("scene_parse", [&] {
        Assimp::Importer importer;
        const aiScene* parsed = importer.ReadFile(SceneController::kScenePath, kImportFlags);
        if (parsed) {
            rings = countRings(parsed->mRootNode);
            const int discs = rings >= int(SceneController::kDiscThreshold) ? rings : 0;
            countTextureUses(parsed, SceneController::kScenePath, parsed->mRootNode, discs, textureUses,
                             false);
        }
    });
    time("ring_imports", [&] {
        common::gl::TextureCache sharedTextures;
        std::vector<std::unique_ptr<common::scene::CircleCheckpoint>> copies;
        for (int i = 0; i < rings; ++i) {
            copies.push_back(std::make_unique<common::scene::CircleCheckpoint>(
                common::scene::CircleCheckpoint::kModelPath, &sharedTextures));
        }
    });
    {
        Assimp::Importer importer;
        if (const aiScene* model =
                importer.ReadFile(common::scene::CircleCheckpoint::kModelPath, kImportFlags)) {
            std::map<std::string, int> partUses;
            countTextureUses(model, common::scene::CircleCheckpoint::kModelPath, model->mRootNode, 0,
                             partUses, true);
            for (const auto& [path, count] : partUses) {
                textureUses[path] += count * rings;
            }
        }
    }
    // The scene's texture cache loads each file once, however many meshes show it.
    double textures = 0.0;
    int textureLoads = 0;
    for (const auto& use : textureUses) {
        const double start = bench::nowSeconds();
        { common::gl::Texture texture(use.first.c_str()); }
        glFinish();
        textures += bench::millisecondsSince(start);
        ++textureLoads;
    }
    times.emplace_back("textures", textures);

    bench::restoreStdout(console);
    for (const auto& [piece, milliseconds] : times) {
        report(piece.c_str(), milliseconds);
    }
    std::printf("piece rings %d\npiece texture_loads %d\n", rings, textureLoads);
    std::fflush(stdout);
    glfwDestroyWindow(window->handle());
    glfwTerminate();
    return 0;
}

// ---- Parent: start the children and tabulate ----

// Runs this program with `mode`, returns its standard output; `started` gets the time just before
// the process was created.
std::string runChild(const char* self, const char* mode, double& started) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(-1);
    }
    started = bench::nowSeconds();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    ssize_t count;
    while ((count = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, std::size_t(count));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s %s failed\n", self, mode);
        std::exit(-1);
    }
    return output;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int parent(const char* self) {
    std::vector<double> toMain, toInitialised, toPresented;
    for (int run = 0; run < kRuns; ++run) {
        double started = 0.0;
        const std::string output = runChild(self, "--first-frame", started);
        double atMain = 0.0, initialised = 0.0, presented = 0.0;
        const std::size_t line = output.find("timestamps ");
        if (line == std::string::npos || std::sscanf(output.c_str() + line, "timestamps %lf %lf %lf", &atMain,
                                                     &initialised, &presented) != 3) {
            std::fputs("The start-up child reported nothing\n", stderr);
            return -1;
        }
        toMain.push_back((atMain - started) * 1000.0);
        toInitialised.push_back((initialised - atMain) * 1000.0);
        toPresented.push_back((presented - started) * 1000.0);
    }
    const double total = median(toPresented);
    const double launch = median(toMain);
    const double init = median(toInitialised);

    std::map<std::string, std::vector<double>> pieceRuns;
    for (int run = 0; run < kRuns; ++run) {
        double started = 0.0;
        const std::string output = runChild(self, "--pieces", started);
        std::size_t at = 0;
        while ((at = output.find("piece ", at)) != std::string::npos) {
            char name[64] = {0};
            double value = 0.0;
            if (std::sscanf(output.c_str() + at, "piece %63s %lf", name, &value) == 2) {
                pieceRuns[name].push_back(value);
            }
            at += 6;
        }
    }
    auto piece = [&](const char* name) { return pieceRuns.count(name) ? median(pieceRuns[name]) : 0.0; };

    std::printf("Start-up to the first presented frame, %d x %d, median of %d runs; load %s\n\n",
                bench::kWidth, bench::kHeight, kRuns, bench::loadAverages().c_str());
    std::printf("| %-52s | %8s | %8s |\n", "step", "ms", "share");
    std::printf("|------------------------------------------------------|----------|----------|\n");
    auto row = [&](const std::string& name, double milliseconds) {
        std::printf("| %-52s | %8.1f | %7.1f%% |\n", name.c_str(), milliseconds,
                    100.0 * milliseconds / total);
    };
    row("process start to main (exec, dynamic linking)", launch);
    row("Renderer::init + debug output (the game itself)", init);
    row("first frame: update + draw + swap", total - launch - init);
    row("total: process start to first presented frame", total);
    std::printf("\nInside Renderer::init, built piece by piece in the same order (separate processes):\n\n");
    std::printf("| %-52s | %8s | %8s |\n", "piece", "ms", "share");
    std::printf("|------------------------------------------------------|----------|----------|\n");
    row("window, context, GLEW", piece("window"));
    row("shader compilation (ShaderController, 11 programs)", piece("shaders"));
    row("SceneController (shadow maps, height map, quad)", piece("controller"));
    row("scene loading (loadScene, all of it)", piece("scene"));
    row("  of which: parsing the scene file", piece("scene_parse"));
    row("  of which: ring parts (" + std::to_string(int(piece("rings"))) + " rings, model read once)",
        piece("ring_imports"));
    row("  of which: texture loads (" + std::to_string(int(piece("texture_loads"))) + ", one per file)",
        piece("textures"));
    row("render target and quads", piece("target_quads"));
    row("HUD (text overlay, five images)", piece("hud"));
    std::printf(
        "\nThe ring re-imports include the load of their parts' texture, which the texture line counts "
        "again.\nGoal: start-up to first frame <= 700 ms: %s\n",
        total <= 700.0 ? "met" : "MISSED");
    std::printf("goal-row | start-up to the first frame | %.0f ms | <= 700 ms | %s | %s | |\n", total,
                total <= 700.0 ? "met" : "MISSED", bench::loadAverages().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bench::enterRunDirectory();
    if (argc > 1 && std::strcmp(argv[1], "--first-frame") == 0) {
        return firstFrame();
    }
    if (argc > 1 && std::strcmp(argv[1], "--pieces") == 0) {
        return pieces();
    }
    return parent("/proc/self/exe");
}
