#include "app/GameSession.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <utility>

#include <malloc.h>

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "app/Logger.h"
#include "audio/GameAudio.h"
#include "camera/CameraPersp.h"
#include "course/CourseCheck.h"
#include "course/CourseRecorder.h"
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
    if (!scene_.loadCourse(course.scenePath, course.heightMapPath, course.playerCourse.get())) {
        return false;
    }
    startRace();
    setCourse(course);
    if (demo_) {
        autopilot_ = std::make_unique<scene::Autopilot>(scene_.ringTransforms);
        scene_.setKeyInput(autopilot_.get());
    }
    return true;
}

// A new race over the loaded scene's course and ground; the drawn craft follows its craft.
void GameSession::startRace() {
    race_ = std::make_unique<scene::Race>(scene_.raceCourse(), scene_.heightMap.get());
    scene_.player->follow(&race_->craft());
}

scene::KeyInput& GameSession::input() {
    return autopilot_ ? *autopilot_ : keys_;
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
    switchCourse(catalogue_.next(course_.name).name);
}

void GameSession::switchCourse(const std::string& name) {
    const scene::CourseInfo previous = course_;
    const scene::CourseInfo* found = catalogue_.find(name);
    const scene::CourseInfo next = found ? *found : catalogue_.courses().front();
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
    race_->restart();
}

void GameSession::setAutopilot(bool on) {
    demo_ = on;
    autopilot_ = on ? std::make_unique<scene::Autopilot>(scene_.ringTransforms) : nullptr;
    scene_.setKeyInput(on ? static_cast<scene::KeyInput*>(autopilot_.get()) : &keys_);
}

void GameSession::restart() {
    scene_.restart();
    log(" Restart Game.");
    race_->restart();
    audio_->setPaused(false);
}

bool GameSession::togglePause() {
    audio_->setPaused(race_->togglePause());
    return race_->phase().paused;
}

bool GameSession::toggleMute() {
    return audio_->toggleMute();
}

bool GameSession::update(double dt) {
    const bool advances = race_->advancesNow();
    // The countdown's end is only known after this frame's draw: the clock runs from the next one.
    const bool flying = advances && !race_->phase().countdownActive;
    if (advances && autopilot_) {
        autopilot_->steer(race_->craft(), dt);
    }
    events_ = race_->advance(dt, scene::InputFrame::from(input(), invertPitch && !autopilot_));
    if (advances) {
        scene_.update(dt);
        scene_.followRules(race_->rules());
    }
    for (const scene::GameEvent& event : events_) {
        if (event.type == scene::GameEventType::Finished) {
            reportFinish(event);
        }
        if (event.type == scene::GameEventType::Crashed && recorder_) {
            restartAfterCrash();
        }
    }
    followTimeTrial(flying);
    playSounds(dt);
    return advances;
}

void GameSession::reportFinish(const scene::GameEvent& event) const {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", event.time);
    log("Finished " + course_.name + " in " + seconds + " s");
}

void GameSession::followTimeTrial(bool flying) {
    trial_->update(events_, {race_->phase().raceTime, flying, scene_.player->getModelMatrix(), scene_.score});
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
    if (!guidance || race_->phase().countdownActive || !scene_.running || scene_.finished || !next ||
        *next >= scene_.ringTransforms.size()) {
        return std::nullopt;
    }
    const glm::vec3 ring(scene_.ringTransforms[*next][3]);
    return placement.locate(scene_.camera->viewMatrix, scene_.camera->projectionMatrix, ring,
                            scene_.player->position);
}

void GameSession::record(std::unique_ptr<course::CourseRecorder> recorder, std::string folder) {
    recorder_ = std::move(recorder);
    recordFolder_ = std::move(folder);
    recorderLines_ = {"Recording: 0 rings", "Return: a ring  F: the finish"};
}

void GameSession::showRings() {
    recorderLines_ = {"Recording: " + std::to_string(recorder_->rings()) + " rings"};
}

bool GameSession::recorderKey(int key) {
    // While paused the keys are the pause's (its menu takes Return and Backspace).
    if (!recorder_ || race_->phase().paused) {
        return false;
    }
    switch (key) {
        case GLFW_KEY_ENTER:
            recorder_->drop(race_->craft());
            log("Ring " + std::to_string(recorder_->rings()) + " dropped");
            showRings();
            return true;
        case GLFW_KEY_BACKSPACE:
            if (recorder_->removeLast()) {
                log("Ring " + std::to_string(recorder_->rings() + 1) + " taken back");
            }
            showRings();
            return true;
        case GLFW_KEY_F:
            finishRecording();
            return true;
        default:
            return false;
    }
}

bool GameSession::recorderButton(int button) {
    return button == GLFW_GAMEPAD_BUTTON_Y && recorderKey(GLFW_KEY_F);
}

// The file is saved whatever the check says: the player mends it by hand or records again.
void GameSession::finishRecording() {
    const course::CourseFile recorded = recorder_->finish(race_->craft());
    std::string path;
    try {
        path = course::CourseRecorder::save(recorded, recordFolder_).string();
    } catch (const std::exception& error) {
        Logger::instance().warning("Cannot save the course: " + std::string(error.what()));
        recorderLines_ = {"Cannot save the course (see the console)"};
        return;
    }
    log("Course saved to " + path);
    std::vector<scene::CourseInfo> islands;
    for (const scene::CourseInfo& course : catalogue_.courses()) {
        if (!course.playerCourse) {
            islands.push_back(course);
        }
    }
    const course::CourseVerdict verdict =
        course::CourseCheck(islands).check(course::CourseFile::readFile(path));
    recorderLines_ = {"Saved " + path};
    if (verdict.playable()) {
        Logger::instance().line(verdict.summary(recorded.name));
        recorderLines_.push_back(verdict.summary(recorded.name));
    }
    for (const std::string& problem : verdict.problems) {
        Logger::instance().warning(path + ": " + problem);
        recorderLines_.push_back(problem);
    }
}

// A new race from the last ring dropped: the recording goes on from there after a countdown.
void GameSession::restartAfterCrash() {
    scene::RaceCourse from;
    from.start = recorder_->restartPose();
    race_ = std::make_unique<scene::Race>(from, scene_.heightMap.get());
    scene_.player->follow(&race_->craft());
    log(" Back at ring " + std::to_string(recorder_->rings()));
}

std::optional<glm::mat4> GameSession::ghostPose() const {
    return trial_->ghostPose(race_->phase().raceTime);
}

}  // namespace common::app
