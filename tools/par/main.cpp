// skyrings_par: the par time of every course, measured by the autopilot at a fixed 1/60 s step.
// Reads the generator's course manifest and writes the game's course list:
//   skyrings_par <resources>/courses/manifest.json <resources>/courses/courses.json
// Each entry of the list is the manifest's, plus "rings" (the ring count, finish included) and "par"
// (seconds) and "parGhost" (the par flight as a ghost track, "courses/<name>.par-ghost.json", written
// beside the list). A course the autopilot cannot finish fails the build: its par would mean nothing.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "game/Autopilot.h"
#include "game/AutopilotFlight.h"
#include "game/Race.h"
#include "progress/GhostFile.h"
#include "progress/GhostTrack.h"
#include "scene/SceneLayout.h"
#include "terrain/HeightMap.h"

namespace {

using nlohmann::ordered_json;

ordered_json readManifest(const std::filesystem::path& path) {
    std::ifstream file(path);
    if (!file.is_open()) {
        throw std::runtime_error("cannot open " + path.string());
    }
    ordered_json manifest = ordered_json::parse(file);
    if (!manifest.contains("courses") || !manifest["courses"].is_array()) {
        throw std::runtime_error(path.string() + " has no \"courses\" list");
    }
    return manifest;
}

// Flies the course, adds its ring count and par time to its entry and writes the flight as its ghost.
void measure(ordered_json& course, const std::filesystem::path& resourceDir) {
    const std::string name = course.at("name").get<std::string>();
    using namespace common::scene;
    HeightMap ground;
    ground.load(HeightMap::kCourseMaxHeight,
                (resourceDir / course.at("heightmap").get<std::string>()).string());
    Race race(SceneLayout::readRaceCourse((resourceDir / course.at("scene").get<std::string>()).string()),
              &ground);
    Autopilot pilot(race.course().ringTransforms());
    // The craft's pose before each step, as the game records the player's: the ghost of the par run.
    common::progress::GhostTrack ghost;
    const auto recordPose = [&] {
        if (!race.phase().countdownActive) {
            ghost.record(race.phase().raceTime, race.craft().pose());
        }
        return false;
    };
    const FlightResult result =
        AutopilotFlight::fly(race, pilot, AutopilotFlight::kParStep, AutopilotFlight::kTimeLimit, recordPose);
    if (!result.finished) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.2f", result.seconds);
        throw std::runtime_error("the autopilot cannot finish the course \"" + name + "\" (" +
                                 (result.crashed ? "it crashed" : "it ran out of time") + " after " +
                                 seconds + " s)");
    }
    course["rings"] = race.course().rings.size();
    course["par"] = result.seconds;
    // The finish's pose ends the track, as a recorded run's does.
    ghost.record(result.seconds, race.craft().pose(), true);
    const std::string ghostFile = "courses/" + name + ".par-ghost.json";
    common::progress::GhostFile::write(resourceDir / ghostFile, ghost);
    course["parGhost"] = ghostFile;
    std::printf("Course %s: %zu rings, par %.2f s\n", name.c_str(), race.course().rings.size(),
                result.seconds);
}

// Written beside the target and renamed over it: a failed run leaves no half list behind.
void writeAtomically(const ordered_json& list, const std::filesystem::path& path) {
    const std::filesystem::path temporary = path.string() + ".tmp";
    {
        std::ofstream file(temporary);
        file << list.dump(2) << "\n";
        if (!file) {
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    std::filesystem::rename(temporary, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: skyrings_par MANIFEST COURSES\n");
        return 2;
    }
    const std::filesystem::path manifestPath = argv[1];
    const std::filesystem::path outputPath = argv[2];
    try {
        ordered_json list = readManifest(manifestPath);
        // Course paths are relative to the resources folder, the one above the manifest's.
        const std::filesystem::path resourceDir = manifestPath.parent_path().parent_path();
        for (ordered_json& course : list["courses"]) {
            measure(course, resourceDir);
        }
        writeAtomically(list, outputPath);
        return 0;
    } catch (const std::exception& error) {
        std::filesystem::remove(outputPath);
        std::fprintf(stderr, "skyrings_par: %s\n", error.what());
        return 1;
    }
}
