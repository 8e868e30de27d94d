// Frame time of the real game (Renderer update + draw + buffer swap) over a fixed autopilot flight
// with a fixed time step, against two baselines measured in the same run on the same window: an
// empty frame (clear + swap) and the same scene meshes drawn once each with a trivial program (no
// shadow maps, no blur, no HUD). Also reports the peak resident memory of the game.
//
// Usage: bench_frame_time [frames] [quality]   (default 600 frames: the first 10 s of the flight at
// 60 Hz; quality high, medium or low, default config.txt's)

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/DebugOutput.h"
#include "app/FrameTime.h"
#include "app/QualityPreset.h"
#include "app/Renderer.h"
#include "bench/BenchSupport.h"
#include "camera/CameraPersp.h"
#include "game/Autopilot.h"
#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "gl/RenderTarget.h"
#include "gl/SceneRenderTarget.h"
#include "gl/ShaderController.h"
#include "hud/Guidance.h"
#include "hud/Hud.h"
#include "progress/GhostTrack.h"
#include "hud/MenuOverlay.h"
#include "menu/Menu.h"
#include "scene/RenderPasses.h"
#include "scene/Mesh.h"
#include "scene/Quad.h"
#include "scene/SceneController.h"
#include "terrain/Terrain.h"

using common::scene::SceneController;

namespace {

constexpr double kStep = 1.0 / 60.0;
constexpr int kDefaultFrames = 600;
constexpr int kBreakdownFrames = 120;
// The countdown holds the scene for four seconds of frame time; a little more lets it end.
constexpr int kCountdownFrames = int(4.2 / kStep);

// ---- The trivial baseline: positions only, one flat colour, one draw call per mesh ----

const char* kTrivialVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 modelViewProjection;
void main() { gl_Position = modelViewProjection * vec4(position, 1.0); }
)";

const char* kTrivialFragment = R"(#version 330 core
out vec4 color;
void main() { color = vec4(0.6, 0.7, 0.8, 1.0); }
)";

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        std::fputs("The trivial shader does not compile\n", stderr);
        std::exit(-1);
    }
    return shader;
}

// One mesh's positions and triangles uploaded again, for the trivial program.
struct TrivialMesh {
    GLuint vertexArray = 0;
    GLuint buffers[2] = {0, 0};
    GLsizei indexCount = 0;
    const common::scene::SceneObject* owner = nullptr;  // whose model matrix places it
    const common::scene::Mesh* part = nullptr;          // a ring part: placed by ring x part
};

class TrivialScene {
  public:
    explicit TrivialScene(const SceneController& scene) {
        program = glCreateProgram();
        glAttachShader(program, compile(GL_VERTEX_SHADER, kTrivialVertex));
        glAttachShader(program, compile(GL_FRAGMENT_SHADER, kTrivialFragment));
        glLinkProgram(program);
        mvpLocation = glGetUniformLocation(program, "modelViewProjection");
        for (const auto* list : {&scene.environment, &scene.objects, &scene.transparentObjects}) {
            for (const common::scene::SceneObject* object : *list) {
                if (const auto* ring = dynamic_cast<const common::scene::CircleCheckpoint*>(object)) {
                    for (std::size_t i = 0; i < ring->partCount(); ++i) {
                        add(ring->part(i), object, &ring->part(i));
                    }
                } else if (const auto* mesh = dynamic_cast<const common::scene::Mesh*>(object)) {
                    add(*mesh, object, nullptr);
                }
            }
        }
    }

    ~TrivialScene() {
        for (TrivialMesh& mesh : meshes) {
            glDeleteBuffers(2, mesh.buffers);
            glDeleteVertexArrays(1, &mesh.vertexArray);
        }
        glDeleteProgram(program);
    }

    void draw(const glm::mat4& viewProjection) const {
        glUseProgram(program);
        for (const TrivialMesh& mesh : meshes) {
            glm::mat4 model = mesh.owner->getModelMatrix();
            if (mesh.part) {
                model = model * mesh.part->getModelMatrix();
            }
            const glm::mat4 mvp = viewProjection * model;
            glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, &mvp[0][0]);
            glBindVertexArray(mesh.vertexArray);
            glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr);
        }
        glBindVertexArray(0);
    }

    std::size_t meshCount() const { return meshes.size(); }
    std::size_t triangleCount() const {
        std::size_t triangles = 0;
        for (const TrivialMesh& mesh : meshes) {
            triangles += std::size_t(mesh.indexCount) / 3;
        }
        return triangles;
    }

  private:
    void add(const common::scene::Mesh& source, const common::scene::SceneObject* owner,
             const common::scene::Mesh* part) {
        TrivialMesh mesh;
        mesh.owner = owner;
        mesh.part = part;
        mesh.indexCount = GLsizei(source.geometry.indices.size());
        glGenVertexArrays(1, &mesh.vertexArray);
        glBindVertexArray(mesh.vertexArray);
        glGenBuffers(2, mesh.buffers);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(source.geometry.positions.size() * sizeof(glm::vec3)),
                     source.geometry.positions.data(), GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.buffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     GLsizeiptr(source.geometry.indices.size() * sizeof(std::uint32_t)),
                     source.geometry.indices.data(), GL_STATIC_DRAW);
        glBindVertexArray(0);
        meshes.push_back(mesh);
    }

    GLuint program = 0;
    GLint mvpLocation = -1;
    std::vector<TrivialMesh> meshes;
};

// ---- Timing ----

// Runs `frame` `count` times, each followed by the swap and event poll of the game loop, and
// returns the time from the end of one frame to the end of the next, in milliseconds.
template <typename Frame>
std::vector<double> timeFrames(GLFWwindow* window, int count, Frame frame) {
    std::vector<double> times;
    times.reserve(std::size_t(count));
    double previous = bench::nowSeconds();
    for (int i = 0; i < count; ++i) {
        frame();
        glfwSwapBuffers(window);
        glfwPollEvents();
        const double now = bench::nowSeconds();
        times.push_back((now - previous) * 1000.0);
        previous = now;
    }
    return times;
}

// ---- Where a frame goes: the renderer's own passes, each finished before the next ----

// Mean wall and CPU time of named steps, in the order they were first timed.
class StepTimes {
  public:
    struct Step {
        std::string name;
        double totalMs = 0.0;
        // CPU time of all threads, the rasterizer's included: what a step costs whatever else runs.
        double cpuTotalMs = 0.0;
    };

    // The next lap starts now, with the GL work issued so far finished and not counted.
    void start() {
        glFinish();
        lapStart = bench::nowSeconds();
        lapCpuStart = bench::processCpuSeconds();
    }

    // Finishes the GL work issued since the last lap and charges it to `name`.
    void lap(const std::string& name) {
        glFinish();
        const double now = bench::nowSeconds();
        const double cpuNow = bench::processCpuSeconds();
        Step& step = find(name);
        step.totalMs += (now - lapStart) * 1000.0;
        step.cpuTotalMs += (cpuNow - lapCpuStart) * 1000.0;
        lapStart = now;
        lapCpuStart = cpuNow;
    }

    const std::vector<Step>& steps() const { return steps_; }

  private:
    Step& find(const std::string& name) {
        for (Step& step : steps_) {
            if (step.name == name) {
                return step;
            }
        }
        steps_.push_back({name});
        return steps_.back();
    }

    std::vector<Step> steps_;
    double lapStart = 0.0;
    double lapCpuStart = 0.0;
};

// The game's frame as the entry point runs it, timed at each pass the renderer reports, then, apart
// from the frame, a few of its pieces drawn again on their own.
class PassBreakdown {
  public:
    PassBreakdown(SceneController& scene, common::app::Renderer& renderer)
        : scene(scene), renderer(renderer) {}

    void frame() {
        frameSteps.start();
        renderer.update(kStep);
        frameSteps.lap("update (CPU)");
        renderer.draw([this](const char* pass) { frameSteps.lap(pass); });
        glfwSwapBuffers(renderer.window());
        glfwPollEvents();
        frameSteps.lap("swap + events");
        measureApart();
        ++frames;
    }

    void print() const {
        printHeading("step (each finished before the next)");
        double total = 0.0;
        double cpuTotal = 0.0;
        for (const StepTimes::Step& step : frameSteps.steps()) {
            printStep(step.name.c_str(), step.totalMs, step.cpuTotalMs);
            total += step.totalMs;
            cpuTotal += step.cpuTotalMs;
        }
        printStep("total: the frame", total, cpuTotal);
        std::printf("\nNot part of the frame: drawn again after it, each on its own\n\n");
        printHeading("extra work");
        for (const StepTimes::Step& step : apartSteps.steps()) {
            printStep(step.name.c_str(), step.totalMs, step.cpuTotalMs);
        }
    }

  private:
    // The environment again, each object over a cleared depth buffer (its full cost, nothing hidden),
    // after the scene pass has set their programs and shadow maps as in the frame; then the shadow
    // maps' depth clears alone.
    void measureApart() {
        const common::gl::SceneRenderTarget& target = renderer.sceneTarget();
        glViewport(0, 0, GLsizei(target.width), GLsizei(target.height));
        target.bindForWriting();
        scene.render();
        apartSteps.start();
        const std::pair<const char*, common::scene::SceneObject*> environment[] = {
            {"scene: sky box alone (no occlusion)", scene.skybox},
            {"scene: water alone (no occlusion)", scene.water},
            {"scene: terrain alone (no occlusion)", scene.terrain},
        };
        for (const auto& [name, object] : environment) {
            glClear(GL_DEPTH_BUFFER_BIT);
            if (object) {
                object->draw();
            }
            apartSteps.lap(name);
        }
        for (const auto& map : scene.shadowMaps) {
            map->bindForWriting();
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        common::gl::RenderTarget::unbind();
        apartSteps.lap("shadow maps: their depth clears alone");
    }

    static void printHeading(const char* title) {
        std::printf("| %-44s | %9s | %11s |\n", title, "mean ms", "CPU ms");
        std::printf("|----------------------------------------------|-----------|-------------|\n");
    }

    void printStep(const char* name, double totalMs, double cpuTotalMs) const {
        std::printf("| %-44s | %9.2f | %11.2f |\n", name, totalMs / frames, cpuTotalMs / frames);
    }

    SceneController& scene;
    common::app::Renderer& renderer;
    StepTimes frameSteps;
    StepTimes apartSteps;
    int frames = 0;
};

void printRow(const char* name, const bench::FrameStats& stats) {
    std::printf("| %-40s | %9.2f | %7.2f | %7.2f | %8.2f | %9.1f |\n", name, stats.medianMs, stats.p95Ms,
                stats.p99Ms, stats.meanMs, stats.fps);
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : kDefaultFrames;
    const std::optional<common::app::Quality> quality =
        argc > 2 ? common::app::QualityPreset::parse(argv[2]) : std::nullopt;
    if (argc > 2 && !quality) {
        std::fprintf(stderr, "Unknown quality %s (high, medium or low)\n", argv[2]);
        return 2;
    }
    bench::enterRunDirectory();
    const int console = bench::silenceStdout();

    // Start-up as the entry point does it with --demo: the renderer's own autopilot flies.
    common::app::Renderer& renderer = common::app::Renderer::instance();
    renderer.init(true, {}, quality);
    const common::app::QualityPreset& preset = renderer.quality();
    common::app::debug_output::install();
    GLFWwindow* window = renderer.window();
    SceneController& scene = SceneController::instance();
    const long residentAfterStartKiB = bench::residentKiB();

    // The game: the countdown first (the scene frozen, shader variants compiled on first use), then
    // the measured flight. The title is set each frame as the entry point does.
    auto gameFrame = [&] {
        glfwSetWindowTitle(window, common::app::frameRateTitle(kStep).c_str());
        renderer.update(kStep);
        renderer.draw();
    };
    timeFrames(window, kCountdownFrames, gameFrame);
    const double cpuBefore = bench::processCpuSeconds();
    const std::vector<double> game = timeFrames(window, frames, gameFrame);
    const double gameCpuMs = (bench::processCpuSeconds() - cpuBefore) * 1000.0 / frames;
    const int scoreReached = scene.score;
    const bool crashed = !scene.running;
    const long peakKiB = bench::peakResidentKiB();

    // Empty frames on the same window and context.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, renderer.width, renderer.height);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    const std::vector<double> empty =
        timeFrames(window, frames, [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });

    // What the ghost adds to a frame: the best run's pose looked up in a minute-long track and the
    // craft drawn once more, translucent, in front of the camera.
    common::progress::GhostTrack track;
    const glm::mat4 start = scene.player->getModelMatrix();
    for (int i = 0; i <= 30 * 60; ++i) {
        track.record(i / 30.0, glm::translate(start, glm::vec3(0.0f, 0.0f, 0.02f * float(i % 100))));
    }
    double ghostClock = 0.0;
    const std::vector<double> ghost = timeFrames(window, frames, [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ghostClock = std::fmod(ghostClock + kStep, 60.0);
        if (const std::optional<glm::mat4> pose = track.poseAt(ghostClock)) {
            common::scene::render_passes::drawGhost(scene, *pose);
        }
    });

    // What the guidance adds to a frame: the mark placed for the first ring and drawn (the needle and
    // the distance), with the HUD's occupied areas to keep clear of.
    common::hud::Hud hud(renderer.width, renderer.height);
    const std::vector<common::hud::ScreenRect> occupied = hud.occupiedAreas(false);
    const glm::vec3 firstRing(scene.ringTransforms.front()[3]);
    const std::vector<double> guidance = timeFrames(window, frames, [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const common::hud::Guidance placement(renderer.width, renderer.height, occupied);
        hud.drawGuidance(placement.locate(scene.camera->viewMatrix, scene.camera->projectionMatrix, firstRing,
                                          scene.player->position));
    });

    // What the menu adds to a frame: the courses screen (every row with a best time and a medal, the
    // course's picture) over the frame, as the player sees it.
    // Over the finished frame as the game draws it: without depth test or culling.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    common::hud::MenuOverlay menuOverlay(hud.textOverlay());
    common::menu::Menu menu;
    std::vector<common::menu::CourseEntry> entries;
    for (const common::scene::CourseInfo& course : renderer.courses().courses()) {
        common::menu::CourseEntry entry;
        entry.name = course.name;
        entry.rings = course.rings;
        entry.length = course.length;
        entry.par = course.par;
        entry.best = course.par * 1.1;
        entry.medal = common::scene::Medal::Silver;
        entry.picturePath = course.heightMapPath;
        entries.push_back(entry);
    }
    menu.setCourses(entries);
    menu.openMain();
    for (const common::menu::MenuKey key :
         {common::menu::MenuKey::Down, common::menu::MenuKey::Down, common::menu::MenuKey::Choose}) {
        menu.press(key);
    }
    menuOverlay.draw(menu, renderer.width, renderer.height);  // the picture is read on first show
    const std::vector<double> menuFrames = timeFrames(window, frames, [&] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        menuOverlay.draw(menu, renderer.width, renderer.height);
    });
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    // The same flight again, every mesh drawn once with the trivial program; from here on this
    // program steers.
    common::scene::Autopilot pilot(scene.ringTransforms);
    scene.setKeyInput(&pilot);
    TrivialScene trivial(scene);
    scene.restart();
    auto trivialFrame = [&] {
        pilot.steer(*scene.player, kStep);
        scene.update(kStep);
        scene.checkCollisions();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        trivial.draw(scene.camera->projectionMatrix * scene.camera->viewMatrix);
    };
    timeFrames(window, 30, trivialFrame);  // the program's first draws
    scene.restart();
    const double flatCpuBefore = bench::processCpuSeconds();
    const std::vector<double> flat = timeFrames(window, frames, trivialFrame);
    const double flatCpuMs = (bench::processCpuSeconds() - flatCpuBefore) * 1000.0 / frames;

    // The same flight a third time, the game's own autopilot flying again, the renderer's passes timed
    // one by one. The countdown runs through without drawing, up to the frame that ends it.
    renderer.session().setAutopilot(true);
    renderer.session().restart();
    while (!common::hud::Hud::countdownOver(renderer.phase().countdownTimer)) {
        renderer.update(kStep);
    }
    renderer.draw();
    PassBreakdown breakdown(scene, renderer);
    for (int i = 0; i < std::min(frames, kBreakdownFrames); ++i) {
        breakdown.frame();
    }

    bench::restoreStdout(console);
    const bench::FrameStats gameStats = bench::summarize(game);
    const bench::FrameStats emptyStats = bench::summarize(empty);
    const bench::FrameStats flatStats = bench::summarize(flat);
    const bench::FrameStats ghostStats = bench::summarize(ghost);
    const bench::FrameStats guidanceStats = bench::summarize(guidance);
    const bench::FrameStats menuStats = bench::summarize(menuFrames);
    std::printf("Frame time, %d x %d window on %s\n", renderer.width, renderer.height,
                bench::glRenderer().c_str());
    std::printf("Quality %s: scene target %u x %u, shadow maps %d^2, %d window samples, %d blur taps\n",
                common::app::QualityPreset::name(preset.quality), renderer.sceneTarget().width,
                renderer.sceneTarget().height, preset.shadowMapSize, preset.windowSamples, preset.blurTaps);
    std::printf(
        "%d frames each at a fixed step of 1/60 s (autopilot flight after the countdown); load %s\n\n",
        frames, bench::loadAverages().c_str());
    std::printf("| %-40s | %9s | %7s | %7s | %8s | %9s |\n", "frame", "median ms", "p95 ms", "p99 ms",
                "mean ms", "FPS (med)");
    std::printf(
        "|------------------------------------------|-----------|---------|---------|----------|-----------|"
        "\n");
    const std::string gameRow =
        std::string("real game, quality ") + common::app::QualityPreset::name(preset.quality);
    printRow(gameRow.c_str(), gameStats);
    printRow("empty frame: clear + swap", emptyStats);
    printRow("trivial program, same meshes + swap", flatStats);
    printRow("empty frame + ghost", ghostStats);
    printRow("empty frame + guidance", guidanceStats);
    printRow("empty frame + menu (courses screen)", menuStats);
    std::printf("\n%zu meshes, %zu triangles in the trivial pass; the flight reached %d points%s\n",
                trivial.meshCount(), trivial.triangleCount(), scoreReached, crashed ? " and CRASHED" : "");
    std::printf(
        "Ratios (median): game / empty frame %.2f, game / trivial program %.2f; game p99 / median %.2f\n",
        gameStats.medianMs / emptyStats.medianMs, gameStats.medianMs / flatStats.medianMs,
        gameStats.p99Ms / gameStats.medianMs);
    std::printf(
        "CPU time per frame (all threads; not inflated by other programs): game %.1f ms, trivial %.1f ms\n",
        gameCpuMs, flatCpuMs);
    std::printf("Resident memory: %.1f MiB after start-up, peak %.1f MiB during the flight\n",
                residentAfterStartKiB / 1024.0, peakKiB / 1024.0);
    std::printf(
        "\nWhere the game's frame goes: its passes as the renderer reports them (%d frames of the same "
        "flight)\n\n",
        std::min(frames, kBreakdownFrames));
    breakdown.print();
    // Each preset's goal: the light ones a frame rate on this machine, the full one a frame that costs
    // at most 2.5 trivial frames.
    const bool p99Met = gameStats.p99Ms <= 2.0 * gameStats.medianMs;
    const bool speedMet = preset.quality == common::app::Quality::Low ? gameStats.fps >= 60.0 && p99Met
                          : preset.quality == common::app::Quality::Medium
                              ? gameStats.fps >= 40.0
                              : gameStats.medianMs <= 2.5 * flatStats.medianMs;
    const char* speedGoal = preset.quality == common::app::Quality::Low
                                ? ">= 60 FPS median, p99 <= 2 x median"
                            : preset.quality == common::app::Quality::Medium ? ">= 40 FPS median"
                                                                             : "<= 2.5 x the trivial frame";
    char figure[96];
    if (preset.quality == common::app::Quality::High) {
        std::snprintf(figure, sizeof figure, "%.2f x the trivial frame (%.1f FPS)",
                      gameStats.medianMs / flatStats.medianMs, gameStats.fps);
    } else {
        std::snprintf(figure, sizeof figure, "%.1f FPS median, p99 %.2f x median", gameStats.fps,
                      gameStats.p99Ms / gameStats.medianMs);
    }
    const double ghostMs = ghostStats.medianMs - emptyStats.medianMs;
    const double guidanceMs = guidanceStats.medianMs - emptyStats.medianMs;
    std::printf("\nGoals: %s: %s; ghost %.2f ms < 1 ms: %s; guidance %.2f ms < 0.3 ms: %s\n", speedGoal,
                verdict(speedMet), ghostMs, verdict(ghostMs < 1.0), guidanceMs, verdict(guidanceMs < 0.3));
    // One row of the goal table the benchmark script gathers from every run.
    std::printf("goal-row | %s | %s | %s | %s | %s | %.1f ms |\n",
                common::app::QualityPreset::name(preset.quality), figure, speedGoal, verdict(speedMet),
                bench::loadAverages().c_str(), gameCpuMs);
    // The fastest frames too: on a machine shared with other work the medians move with its load.
    const double menuMs = menuStats.medianMs - emptyStats.medianMs;
    const double menuFastestMs = *std::min_element(menuFrames.begin(), menuFrames.end()) -
                                 *std::min_element(empty.begin(), empty.end());
    std::printf("Menu %.2f ms (fastest frames %.2f ms) < 1 ms: %s\n", menuMs, menuFastestMs,
                verdict(menuMs < 1.0));

    glfwTerminate();
    return 0;
}
