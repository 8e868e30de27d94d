#include "app/GameSession.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <utility>

#include <malloc.h>

#include "app/Logger.h"
#include "audio/GameAudio.h"
#include "camera/CameraPersp.h"
#include "game/Autopilot.h"
#include "game/Player.h"
#include "progress/TimeTrial.h"
#include "scene/SceneController.h"

namespace common::app {
namespace {

void log(const std::string& message) {
    Logger::instance().debug(message);
}

}  // namespace

GameSession::GameSession(scene::SceneController& scene, CourseCatalogue catalogue, scene::KeyInput& keys,
                         bool demo)
    : scene_(scene), catalogue_(std::move(catalogue)), keys_(keys), demo_(demo) {
    scene_.setKeyInput(&keys_);
    audio_ = audio::GameAudio::open([](const std::string& line) { Logger::instance().warning(line); });
    // The autopilot's runs are not the player's: they are never recorded.
    progress::RecordStore records(progress::RecordStore::defaultPath(),
                                  [](const std::string& line) { Logger::instance().warning(line); });
    trial_ = std::make_unique<progress::TimeTrial>(std::move(records), !demo);
}

GameSession::~GameSession() = default;

void GameSession::start(const std::string& asked, const std::string& configured) {
    phase_.countdownTimer = 0.0f;
    const scene::CourseInfo& course = *catalogue_.find(startCourse(asked, configured));
    if (!loadCourse(course)) {
        throw std::runtime_error("Cannot start: the scene " + course.scenePath +
                                 " could not be read or has no \"Player\" node");
    }
}

std::string GameSession::startCourse(const std::string& asked, const std::string& configured) const {
    if (catalogue_.find(asked)) {
        return asked;
    }
    const std::string fallback = catalogue_.courses().front().name;
    if (!configured.empty() && !catalogue_.find(configured)) {
        Logger::instance().warning("Unknown course \"" + configured + "\" in config.txt, playing " +
                                   fallback + " (courses: " + catalogue_.names() + ")");
        return fallback;
    }
    return configured.empty() ? fallback : configured;
}

void GameSession::setCourse(const scene::CourseInfo& course) {
    course_ = course;
    trial_->setCourse(course_, scene_.gameRules().ringCount());
}

bool GameSession::loadCourse(const scene::CourseInfo& course) {
    if (!scene_.loadCourse(course.scenePath, course.heightMapPath)) {
        return false;
    }
    setCourse(course);
    if (demo_) {
        autopilot_ = std::make_unique<scene::Autopilot>(scene_.ringTransforms);
        scene_.setKeyInput(autopilot_.get());
    }
    return true;
}

// Called from the key handler: an unreadable height map is one line and a false.
bool GameSession::loadCourseOrSay(const scene::CourseInfo& course) {
    try {
        return loadCourse(course);
    } catch (const std::exception& error) {
        Logger::instance().warning(error.what());
        return false;
    }
}

void GameSession::switchCourse() {
    const scene::CourseInfo previous = course_;
    const scene::CourseInfo next = catalogue_.next(previous.name);
    if (!loadCourseOrSay(next)) {
        Logger::instance().warning("Cannot load the course " + next.name + ", staying on " + previous.name);
        if (!loadCourseOrSay(previous)) {
            throw std::runtime_error("Cannot reload the course " + previous.name);
        }
    }
    // Loading decodes every texture and copies the whole scene file in memory; freed, those blocks
    // stay with the allocator, scattered between the new scene's. Hand them back, so going round the
    // courses keeps the resident memory of one scene, not of the worst mix of them.
    malloc_trim(0);
    log(" Course " + course_.name + ".");
    phase_.restart();
    pendingEvents_.push_back({scene::GameEventType::Restarted, 0, 0.0});
}

void GameSession::setAutopilot(bool on) {
    demo_ = on;
    autopilot_ = on ? std::make_unique<scene::Autopilot>(scene_.ringTransforms) : nullptr;
    scene_.setKeyInput(on ? static_cast<scene::KeyInput*>(autopilot_.get()) : &keys_);
}

void GameSession::restart() {
    scene_.restart();
    log(" Restart Game.");
    phase_.restart();
    audio_->setPaused(false);
    pendingEvents_.push_back({scene::GameEventType::Restarted, 0, 0.0});
}

bool GameSession::togglePause() {
    audio_->setPaused(phase_.togglePause());
    return phase_.paused;
}

bool GameSession::toggleMute() {
    return audio_->toggleMute();
}

bool GameSession::update(double dt) {
    events_.swap(pendingEvents_);
    pendingEvents_.clear();
    const scene::GameEvents countdown = phase_.tick(dt);
    events_.insert(events_.end(), countdown.begin(), countdown.end());
    const bool advances = phase_.sceneAdvances(scene_.running);
    // The countdown's end is only known after this frame's draw: the clock runs from the next one.
    const bool flying = advances && !phase_.countdownActive;
    if (advances) {
        advanceScene(dt);
    }
    followTimeTrial(flying);
    playSounds(dt);
    return advances;
}

void GameSession::advanceScene(double dt) {
    if (autopilot_) {
        autopilot_->steer(*scene_.player, dt);
    }
    scene_.update(dt);
    scene_.checkCollisions();
    // The step just flown counts on the race clock before its captures are stamped.
    phase_.sceneAdvanced(dt);
    for (scene::GameEvent event : scene_.lastEvents()) {
        event.time = phase_.raceTime;
        events_.push_back(event);
        if (event.type == scene::GameEventType::Finished) {
            reportFinish(event);
        }
    }
}

void GameSession::reportFinish(const scene::GameEvent& event) const {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", event.time);
    log("Finished " + course_.name + " in " + seconds + " s");
}

void GameSession::followTimeTrial(bool flying) {
    trial_->update(events_, {phase_.raceTime, flying, scene_.player->getModelMatrix(), scene_.score});
}

// Every frame, the frozen ones too: the countdown beeps while the scene holds still.
void GameSession::playSounds(double dt) {
    const scene::Player& craft = *scene_.player;
    const float climbRate = craft.speed * craft.direction.y - scene::Player::kSinkRate;
    audio_->frame(events_, craft.speed, climbRate, dt);
}

std::optional<hud::GuidanceMark> GameSession::guidanceMark(const hud::Guidance& placement) const {
    const std::optional<std::size_t> next = scene_.gameRules().nextRing();
    // Only while the race is on: the countdown and the end screens own the middle of the window.
    if (!guidance || phase_.countdownActive || !scene_.running || scene_.finished || !next ||
        *next >= scene_.ringTransforms.size()) {
        return std::nullopt;
    }
    const glm::vec3 ring(scene_.ringTransforms[*next][3]);
    return placement.locate(scene_.camera->viewMatrix, scene_.camera->projectionMatrix, ring,
                            scene_.player->position);
}

std::optional<glm::mat4> GameSession::ghostPose() const {
    return trial_->ghostPose(phase_.raceTime);
}

}  // namespace common::app
