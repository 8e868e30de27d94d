#include "tools/AssetGenerator.h"

#include <fstream>
#include <future>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <glm/geometric.hpp>
#include <glm/mat4x4.hpp>
#include <nlohmann/json.hpp>

#include "audio/Sound.h"

#include "tools/ColladaWriter.h"
#include "tools/Course.h"
#include "tools/CourseCatalogue.h"
#include "tools/CraftModel.h"
#include "tools/FontAtlas.h"
#include "tools/HudArt.h"
#include "tools/IconArt.h"
#include "tools/Landscape.h"
#include "tools/RingModel.h"
#include "tools/SceneShapes.h"
#include "tools/SkyPainter.h"
#include "tools/SoundSynth.h"
#include "tools/TerrainPainter.h"

namespace common::assetgen {

namespace {

const char* const kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The sky sphere and the water disc are centred over the landscape. The sphere stays inside the
// camera's far distance (1000) from anywhere over the landscape up to well above the start height.
// Its centre sits at about the middle of the heights the craft flies at, so that the sphere's equator,
// painted as the horizon, shows roughly level wherever the craft is; the water disc ends just inside
// the sphere, where the painted distant sea takes over.
const glm::dvec3 kLandscapeCentre(256.0, 20.0, -256.0);
constexpr double kSkyRadius = 540.0;
constexpr double kSkyCentreHeight = 150.0;
constexpr double kWaterRadius = 510.0;
constexpr double kWaterTile = 24.0;

// The sun: high in the south-west, aimed at the middle of the island.
const glm::dvec3 kSunPosition(-120.0, 430.0, 110.0);

glm::dmat4 translation(const glm::dvec3& offset) {
    glm::dmat4 transform(1.0);
    transform[3] = glm::dvec4(offset, 1.0);
    return transform;
}

// A frame at `position` whose local -z axis points at `target` (how the importer aims a light).
glm::dmat4 aimedAt(const glm::dvec3& position, const glm::dvec3& target) {
    const glm::dvec3 back = glm::normalize(position - target);
    const glm::dvec3 side = glm::normalize(glm::cross(glm::dvec3(0.0, 1.0, 0.0), back));
    const glm::dvec3 up = glm::cross(back, side);
    glm::dmat4 transform(1.0);
    transform[0] = glm::dvec4(side, 0.0);
    transform[1] = glm::dvec4(up, 0.0);
    transform[2] = glm::dvec4(back, 0.0);
    transform[3] = glm::dvec4(position, 1.0);
    return transform;
}

// "Circle", "Circle.001", "Circle.002", ...
std::string ringName(std::size_t index) {
    if (index == 0) {
        return "Circle";
    }
    std::string number = std::to_string(index);
    return "Circle." + std::string(3 - std::min<std::size_t>(3, number.size()), '0') + number;
}

void makeFolder(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        throw std::runtime_error("cannot create " + path.string() + ": " + error.message());
    }
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace

void AssetGenerator::run() const {
    makeFolder(resourceDir_ / "meshes" / "low_res_Mountain");
    makeFolder(resourceDir_ / "textures");
    makeFolder(resourceDir_ / "sounds");
    makeFolder(resourceDir_ / "icons");
    makeFolder(resourceDir_ / "courses");
    writeWorld();
    writeRingModel();
    writeHud();
    writeSounds();
}

void AssetGenerator::writeWorld() const {
    // The pictures every scene shares, painted once and written beside each scene file.
    const glm::dvec3 towardSun = glm::normalize(kSunPosition - kLandscapeCentre);
    const SharedPictures shared{SkyPainter::paintWater(512), SkyPainter::paintSky(2048, 1024, towardSun),
                                CraftModel::paintLivery(256), RingModel::paintDiscTexture(64)};
    const std::vector<CourseDesign> designs = CourseCatalogue::designs();
    // The courses are independent of each other: make them side by side.
    std::vector<std::future<double>> lengths;
    for (const CourseDesign& design : designs) {
        lengths.push_back(std::async(std::launch::async, [&] { return writeCourse(design, shared); }));
    }
    nlohmann::ordered_json manifest;
    manifest["courses"] = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < designs.size(); ++i) {
        const CourseDesign& design = designs[i];
        manifest["courses"].push_back({{"name", design.name},
                                       {"scene", design.sceneFolder + "/" + design.sceneFile},
                                       {"heightmap", design.heightMapPath},
                                       {"length", lengths[i].get()}});
    }
    writeText(resourceDir_ / "courses" / "manifest.json", manifest.dump(2) + "\n");
}

double AssetGenerator::writeCourse(const CourseDesign& design, const SharedPictures& shared) const {
    const std::filesystem::path sceneDir = resourceDir_ / design.sceneFolder;
    makeFolder(sceneDir);
    const Course course(design.route);
    const Landscape landscape(design.island, course);
    landscape.saveBmp((resourceDir_ / design.heightMapPath).string());

    TerrainPainter(landscape).paint(design.terrainTextureSize).savePng((sceneDir / "terrain.png").string());
    shared.water.savePng((sceneDir / "water.png").string());
    shared.sky.savePng((sceneDir / "sky.png").string());
    shared.craft.savePng((sceneDir / "craft.png").string());
    shared.disc.savePng((sceneDir / "disc.png").string());

    ColladaWriter scene;
    const int terrainMaterial = scene.addMaterial("TerrainMaterial", "terrain.png", {1.0, 1.0, 1.0});
    const int waterMaterial = scene.addMaterial("WaterMaterial", "water.png", {0.13, 0.33, 0.44});
    const int skyMaterial = scene.addMaterial("SkyMaterial", "sky.png", {0.6, 0.75, 0.9});
    const int craftMaterial = scene.addMaterial("CraftMaterial", "craft.png", {0.9, 0.9, 0.9});
    const int markerMaterial = scene.addMaterial("RingMarkerMaterial", "", {1.0, 0.7, 0.1});
    const int discMaterial = scene.addMaterial("DiscMaterial", "disc.png", {0.8, 0.9, 1.0});

    const int terrainMesh = scene.addMesh("TerrainMesh", SceneShapes::terrain(landscape), terrainMaterial);
    const int waterMesh =
        scene.addMesh("WaterMesh", SceneShapes::water(kWaterRadius, kWaterTile), waterMaterial);
    const int skyMesh = scene.addMesh("SkyMesh", SceneShapes::skySphere(kSkyRadius, 48, 24), skyMaterial);
    const int craftMesh = scene.addMesh("CraftMesh", CraftModel::build(), craftMaterial);
    const int markerMesh = scene.addMesh("RingMarkerMesh", SceneShapes::marker(), markerMaterial);
    const int discMesh = scene.addMesh("DiscMesh", SceneShapes::disc(48), discMaterial);

    scene.addNode("Terrain", glm::dmat4(1.0), {terrainMesh});
    scene.addNode("Water", translation({kLandscapeCentre.x, Landscape::kWaterLevel, kLandscapeCentre.z}),
                  {waterMesh});
    scene.addNode("Skybox", translation({kLandscapeCentre.x, kSkyCentreHeight, kLandscapeCentre.z}),
                  {skyMesh});
    // Level and unturned, so the craft starts facing +z, straight at the first ring.
    scene.addNode("Player", translation(course.start()), {craftMesh});
    // Rings in course order, the finish last.
    std::size_t ordinary = 0;
    for (std::size_t i = 0; i < course.rings().size(); ++i) {
        const std::string name = course.rings()[i].finish ? "FIN" : ringName(ordinary++);
        scene.addNode(name, course.ringTransform(i), {markerMesh});
    }
    scene.addNode("Trans", glm::dmat4(1.0), {discMesh});
    scene.addLight("Sun", aimedAt(kSunPosition, kLandscapeCentre), {1.0, 0.96, 0.88});
    scene.write((sceneDir / design.sceneFile).string());
    return course.length();
}

void AssetGenerator::writeRingModel() const {
    const std::filesystem::path meshDir = resourceDir_ / "meshes";
    RingModel::paintTexture(128).savePng((meshDir / "ring.png").string());
    writeRingParts(RingModel::arc(), meshDir / "Circle.dae");
    writeRingParts(RingModel::arc(RingModel::kLightAlong, RingModel::kLightAround),
                   meshDir / "CircleLight.dae");
}

void AssetGenerator::writeRingParts(const MeshData& arc, const std::filesystem::path& path) const {
    ColladaWriter model;
    const int material = model.addMaterial("RingMaterial", "ring.png", {1.0, 0.7, 0.1});
    const int arcMesh = model.addMesh("RingArcMesh", arc, material);
    for (int part = 0; part < RingModel::kParts; ++part) {
        model.addNode("part" + std::to_string(part), RingModel::partTransform(part), {arcMesh});
    }
    model.write(path.string());
}

void AssetGenerator::writeHud() const {
    const std::filesystem::path textureDir = resourceDir_ / "textures";
    FontAtlas::render(kFontPath, 64).savePng((textureDir / "font.png").string());
    HudArt art(kFontPath);
    art.altimeter(256).savePng((textureDir / "altimeter.png").string());
    art.arrow(256).savePng((textureDir / "arrow.png").string());
    art.score(256).savePng((textureDir / "score.png").string());
    art.warning(256).savePng((textureDir / "warn.png").string());
    art.menuPanel(256).savePng((textureDir / "menu_panel.png").string());
    art.menuHighlight(64).savePng((textureDir / "menu_highlight.png").string());
    art.menuShade(4).savePng((textureDir / "menu_shade.png").string());
    const char* const medals[] = {"medal_bronze.png", "medal_silver.png", "medal_gold.png"};
    for (int kind = 0; kind < 3; ++kind) {
        art.medal(64, kind).savePng((textureDir / medals[kind]).string());
    }
    // The desktop icon, installed beside the launcher rather than read by the game.
    IconArt::savePng((resourceDir_ / "icons" / "skyrings.png").string(), 256);
    IconArt::saveSvg((resourceDir_ / "icons" / "skyrings.svg").string());
}

void AssetGenerator::writeSounds() const {
    using audio::Sound;
    auto save = [this](Sound sound, const Waveform& wave) {
        wave.saveWav((resourceDir_ / "sounds" / audio::soundFileName(sound)).string());
    };
    save(Sound::Engine, SoundSynth::engineLoop());
    save(Sound::Wind, SoundSynth::windLoop());
    save(Sound::Chime, SoundSynth::chime());
    save(Sound::Fanfare, SoundSynth::fanfare());
    save(Sound::Crash, SoundSynth::crash());
    // The "go" beep is an octave above the others and longer.
    save(Sound::Beep, SoundSynth::beep(880.0, 0.15));
    save(Sound::GoBeep, SoundSynth::beep(1760.0, 0.4));
}

}  // namespace common::assetgen
