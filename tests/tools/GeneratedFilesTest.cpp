// The generated resources read as the game reads them: the scene's node roles, light, craft and discs;
// the landscape against the height image the crash test reads, the water, the sky's reach and the ring
// course; the ring model's parts; the font atlas and HUD pictures; and the sounds' length, level, pitch
// and clean ends or loop points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "tests/support/AudioSignal.h"
#include "tests/support/Picture.h"
#include "tests/tools/SceneFiles.h"

namespace {

// Paths as the game opens them, from the staged bin folder the tests run in.
const std::string kSceneDir = "../resources/meshes/low_res_Mountain";
const std::string kTextureDir = "../resources/textures/";
constexpr float kDegree = 0.017453292f;
constexpr int kCells = 16;  // the font atlas has 16 x 16 cells

// The node's own transformation, as the game converts it.
glm::mat4 nodeMatrix(const aiNode& node) {
    return common::scene::toGlm(node.mTransformation);
}

using testsupport::Picture;

// Largest alpha in the cell of character `c`, optionally only along the cell's outermost pixels.
int cellAlpha(const Picture& atlas, int c, bool borderOnly) {
    const int cell = atlas.width() / kCells;
    const int x0 = (c % kCells) * cell;
    const int y0 = (c / kCells) * cell;
    int largest = 0;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            const bool border = x == 0 || y == 0 || x == cell - 1 || y == cell - 1;
            if (!borderOnly || border) {
                largest = std::max(largest, int(atlas.at(x0 + x, y0 + y).a));
            }
        }
    }
    return largest;
}

// The shipped scene and the ground the game's crash test reads under it.
class SceneFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(files.loaded()) << files.importer.GetErrorString();
        ASSERT_EQ(files.ground.getSize(), 1024u);
        scene = files.scene;
    }

    // The first node of that name (that every node is a child of the root, the landscape test checks).
    const aiNode& child(const char* name) const {
        const aiNode* node = scene->mRootNode->FindNode(name);
        EXPECT_NE(node, nullptr) << name;
        return node ? *node : *scene->mRootNode;
    }

    const SceneFiles files{kSceneDir + "/mountain_player.dae", "../resources/meshes/heightmap.bmp"};
    const aiScene* scene = nullptr;
};

}  // namespace

// The game draws terrain, water and sky in file order: the terrain first lets depth testing skip the
// water and sky it hides, and sets up the shadows that the water's program then uses in the same frame.
// That every role is there, with enough rings and no unknown mesh, the scene-loading tests check.
TEST_F(SceneFile, TheLandscapeComesFrontToBackTheRingsEndWithTheFinishAndTheSunShinesAtASlant) {
    std::vector<std::string> environment;
    for (unsigned i = 0; i < scene->mRootNode->mNumChildren; ++i) {
        const aiNode& node = *scene->mRootNode->mChildren[i];
        const std::string name = node.mName.C_Str();
        EXPECT_EQ(node.mNumChildren, 0u) << name;
        if (name == "Terrain" || name == "Water" || name == "Skybox") {
            environment.push_back(name);
        }
    }
    EXPECT_EQ(environment, (std::vector<std::string>{"Terrain", "Water", "Skybox"}));
    for (const SceneFiles::Ring& ring : files.rings()) {  // each needs a mesh to become a ring
        EXPECT_GE(files.node(ring.name.c_str()).mNumMeshes, 1u) << ring.name;
    }
    EXPECT_EQ(files.rings().back().name, "FIN");

    // The sun shines down at a slant from high above one side.
    ASSERT_GE(scene->mNumLights, 1u);
    const aiLight& light = *scene->mLights[0];
    const aiNode* node = scene->mRootNode->FindNode(light.mName);
    ASSERT_NE(node, nullptr) << light.mName.C_Str();
    const glm::mat4 n = nodeMatrix(*node);
    const glm::vec3 position = n * glm::vec4(light.mPosition.x, light.mPosition.y, light.mPosition.z, 1.0f);
    const glm::vec3 direction = glm::normalize(
        glm::vec3(n * glm::vec4(light.mDirection.x, light.mDirection.y, light.mDirection.z, 0.0f)));

    EXPECT_GT(position.y, 200.0f);
    EXPECT_TRUE(position.x < 0.0f || position.x > 512.0f || position.z > 0.0f || position.z < -512.0f);
    EXPECT_LT(direction.y, -0.3f);
    EXPECT_GT(direction.y, -0.95f) << "light straight down leaves the light view undefined";
    // Aimed at the island: its ray reaches the ground inside the landscape.
    const glm::vec3 ground = position + direction * ((20.0f - position.y) / direction.y);
    EXPECT_TRUE(ground.x > 100.0f && ground.x < 412.0f && ground.z > -412.0f && ground.z < -100.0f)
        << ground.x << ", " << ground.z;
}

TEST_F(SceneFile, ThePlayerIsASmallLevelCraftFacingTheFirstRing) {
    const aiNode& player = child("Player");
    const glm::mat4 m = nodeMatrix(player);
    EXPECT_EQ(glm::mat3(m), glm::mat3(1.0f)) << "no rotation or scale";
    const glm::vec3 start(m[3]);
    glm::vec3 low(1e9f);
    glm::vec3 high(-1e9f);
    glm::vec3 nose(0.0f, 0.0f, -1e9f);
    for (const glm::vec3& v : files.worldVertices(player)) {
        low = glm::min(low, v - start);
        high = glm::max(high, v - start);
        nose = v.z - start.z > nose.z ? v - start : nose;
    }
    const float wingspan = high.x - low.x;
    EXPECT_TRUE(wingspan >= 0.6f && wingspan <= 1.0f) << wingspan;
    EXPECT_NEAR(low.x, -high.x, 1e-4f) << "symmetric about its length";
    EXPECT_LT(high.y - low.y, wingspan * 0.5f) << "wings along x, flat along y";
    EXPECT_NEAR(nose.x, 0.0f, 0.01f) << "the nose tip leads along +z on the centre line";
    EXPECT_GT(high.y, -low.y) << "the fin and canopy on top, along +y";

    const glm::vec3 firstRing(nodeMatrix(child("Circle"))[3]);
    const glm::vec3 ahead = glm::normalize(glm::vec3(firstRing.x - start.x, 0.0f, firstRing.z - start.z));
    EXPECT_GT(ahead.z, 0.999f) << "the craft starts heading straight for the first ring";
    EXPECT_GT(start.y, 150.0f) << "well clear of the mountains";
}

// How closely the terrain follows the height image, that no ground lies so deep under the water that
// touching it would not be a crash, the course world tests check on every course.
TEST_F(SceneFile, TheTerrainIsACoarseGridTheWaterCoversItAndTheSkyEnclosesEverything) {
    const aiNode& terrain = child("Terrain");
    const aiMesh& mesh = files.mesh(terrain);
    // What software rendering affords: a 128 x 128 grid at most.
    EXPECT_LE(mesh.mNumFaces, 2u * 128u * 128u);
    EXPECT_GT(mesh.mNumFaces, 30000u);
    glm::vec2 lowest(1e9f);
    glm::vec2 highest(-1e9f);
    for (const glm::vec3& v : files.worldVertices(terrain)) {
        lowest = glm::min(lowest, glm::vec2(v.x, -v.z));
        highest = glm::max(highest, glm::vec2(v.x, -v.z));
    }
    // The grid reaches every edge of the 512 x 512 landscape to within one grid step.
    EXPECT_LT(glm::max(lowest.x, lowest.y), 4.0f);
    EXPECT_GT(glm::min(highest.x, highest.y), 508.0f);
    // The texture spans the landscape once.
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& uv = mesh.mTextureCoords[0][i];
        ASSERT_TRUE(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f);
    }

    // The water covers the landscape and a tenth of the ground lies under it.
    const std::vector<glm::vec3> water = files.worldVertices(child("Water"));
    const float level = water.front().y;
    float reach = 0.0f;
    for (const glm::vec3& v : water) {
        ASSERT_NEAR(v.y, level, 1e-4f);
        reach = std::max(reach, glm::length(glm::vec2(v.x, v.z) - glm::vec2(256.0f, -256.0f)));
    }
    EXPECT_GT(reach, 400.0f) << "the water runs on past every edge of the landscape";
    const std::vector<float> ground = files.groundSamples();
    EXPECT_GT(std::count_if(ground.begin(), ground.end(), [&](float height) { return height < level; }),
              1024 * 1024 / 10);

    // The sky encloses everything within the far distance and faces inwards.
    const aiNode& sky = child("Skybox");
    const std::vector<glm::vec3> vertices = files.worldVertices(sky);
    const glm::vec3 centre(nodeMatrix(sky)[3]);
    float nearest = 1e9f;
    for (const glm::vec3& v : vertices) {
        nearest = std::min(nearest, glm::length(v - centre));
    }
    // Anywhere over the landscape up to above the start height: inside the sky and in camera range.
    for (int i = 0; i < 8; ++i) {
        const glm::vec3 corner(i & 1 ? 512.0f : 0.0f, i & 2 ? 320.0f : 0.0f, i & 4 ? -512.0f : 0.0f);
        EXPECT_LT(glm::length(corner - centre), nearest);
        float farthest = 0.0f;
        for (const glm::vec3& v : vertices) {
            farthest = std::max(farthest, glm::length(v - corner));
        }
        EXPECT_LT(farthest, 1000.0f) << corner.x << ", " << corner.y << ", " << corner.z;
    }
    // Back faces are culled, so every triangle must wind counter-clockwise seen from inside.
    const aiMesh& skyMesh = files.mesh(sky);
    for (unsigned f = 0; f < skyMesh.mNumFaces; ++f) {
        const aiFace& face = skyMesh.mFaces[f];
        const glm::vec3 a = vertices[face.mIndices[0]];
        const glm::vec3 b = vertices[face.mIndices[1]];
        const glm::vec3 c = vertices[face.mIndices[2]];
        const glm::vec3 normal = glm::cross(b - a, c - a);
        if (glm::length(normal) > 1e-3f) {
            ASSERT_GT(glm::dot(normal, centre - (a + b + c) / 3.0f), 0.0f) << "face " << f;
        }
    }
}

// That every ring floats clear of the ground, the course world tests check on every course.
TEST_F(SceneFile, TheCourseIsEvenlySpacedGentleAndInsideTheLandscapeAndItsDiscsAreUnitDiscs) {
    const std::vector<SceneFiles::Ring> course = files.rings();
    ASSERT_GE(course.size(), 25u);
    std::vector<glm::vec3> points{nodeMatrix(child("Player"))[3]};
    for (const SceneFiles::Ring& ring : course) {
        points.push_back(ring.centre());
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        const glm::vec3 leg = points[i] - points[i - 1];
        const float length = glm::length(leg);
        EXPECT_TRUE(length >= 25.0f && length <= 60.0f) << "leg " << i << ": " << length;
        // Gentle slopes between rings; from the start the craft first dives to gather speed.
        const float slope = std::asin(std::fabs(leg.y) / length) / kDegree;
        EXPECT_LE(slope, i == 1 ? 35.0f : 22.0f) << "leg " << i;
        if (i >= 2) {
            const float turn = std::acos(std::clamp(
                glm::dot(glm::normalize(leg), glm::normalize(points[i - 1] - points[i - 2])), -1.0f, 1.0f));
            EXPECT_LE(turn / kDegree, 35.0f) << "turn at ring " << i - 2;
        }
    }
    for (std::size_t i = 0; i < course.size(); ++i) {
        SCOPED_TRACE(course[i].name);
        const glm::vec3 c = course[i].centre();
        EXPECT_TRUE(c.x >= 40.0f && c.x <= 472.0f && c.z >= -472.0f && c.z <= -40.0f);
        // Each ring faces along the course: its local y axis runs from the previous point to the next.
        const glm::vec3 through = glm::normalize(points[std::min(i + 2, points.size() - 1)] - points[i]);
        EXPECT_GT(glm::dot(glm::normalize(glm::vec3(course[i].matrix[1])), through), 0.9f);
        const glm::mat3 m(course[i].matrix);
        const glm::vec3 scales(glm::length(m[0]), glm::length(m[1]), glm::length(m[2]));
        EXPECT_LT(glm::distance(scales, glm::vec3(course[i].finish ? 1.0f : 0.25f)), 1e-4f);
    }

    // The rings' discs come from a template: a unit disc seen from both sides.
    const aiMesh& mesh = files.mesh(child("Trans"));
    float largest = 0.0f;
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& v = mesh.mVertices[i];
        EXPECT_NEAR(v.y, 0.0f, 1e-6f);
        largest = std::max(largest, std::hypot(v.x, v.z));
    }
    EXPECT_NEAR(largest, 1.0f, 1e-4f);
    int up = 0;
    int down = 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        ASSERT_EQ(face.mNumIndices, 3u);
        const aiVector3D a = mesh.mVertices[face.mIndices[0]];
        const aiVector3D normal =
            (mesh.mVertices[face.mIndices[1]] - a) ^ (mesh.mVertices[face.mIndices[2]] - a);
        (normal.y > 0.0f ? up : down) += 1;
    }
    EXPECT_GT(up, 0);
    EXPECT_EQ(up, down);
}

// That the game finds eight parts, named in walk order, and their texture, the ring tests check.
TEST(RingModel, EveryPartTumblesOutwardsAndFormsARingInsideTheBoxInFullAndLight) {
    for (const char* file : {"Circle.dae", "CircleLight.dae"}) {
        SCOPED_TRACE(file);
        const SceneFiles ring(std::string("../resources/meshes/") + file);
        ASSERT_NE(ring.scene, nullptr) << ring.importer.GetErrorString();
        for (int part = 0; part < 8; ++part) {
            SCOPED_TRACE("part " + std::to_string(part));
            const aiNode* node = ring.scene->mRootNode->FindNode(("part" + std::to_string(part)).c_str());
            ASSERT_TRUE(node && node->mNumMeshes > 0);
            // Each part tumbles about its own x axis, which points away from the ring's centre.
            const glm::mat4 m = nodeMatrix(*node);
            EXPECT_GT(glm::dot(glm::normalize(glm::vec3(m[0])), glm::normalize(glm::vec3(m[3]))), 0.99f);
            for (const glm::vec3& v : ring.worldVertices(*node)) {
                ASSERT_TRUE(std::fabs(v.x) < 9.0f && std::fabs(v.y) < 9.0f && std::fabs(v.z) < 9.0f);
                // A torus of radius 8 in the xz-plane (end caps reach in to its core).
                ASSERT_LE(std::hypot(std::hypot(v.x, v.z) - 8.0f, v.y), 0.8f);
            }
        }
    }
    // The light model is worth drawing: far fewer triangles than the full one.
    const SceneFiles full("../resources/meshes/Circle.dae");
    const SceneFiles light("../resources/meshes/CircleLight.dae");
    ASSERT_TRUE(full.scene && light.scene);
    EXPECT_LT(light.scene->mMeshes[0]->mNumFaces * 2, full.scene->mMeshes[0]->mNumFaces);
}

TEST(HudImages, AreSquareOnATransparentGroundGlyphsInTheirCellsNeedleUpAndScoreOnADarkPlate) {
    const Picture atlas(kTextureDir + "font.png");
    ASSERT_TRUE(atlas.valid());
    EXPECT_GE(atlas.width() / kCells, 64);

    EXPECT_EQ(cellAlpha(atlas, ' ', false), 0);
    EXPECT_EQ(cellAlpha(atlas, 0, false), 0);
    // No glyph spills into its neighbours, which would show as specks beside other letters.
    for (int c = 33; c < 127; ++c) {
        EXPECT_GT(cellAlpha(atlas, c, false), 200) << "character " << c;
        EXPECT_EQ(cellAlpha(atlas, c, true), 0) << "character " << c;
    }
    // "A" is centred: its ink is balanced left and right of the cell's middle.
    const int cell = atlas.width() / kCells;
    const int x0 = ('A' % kCells) * cell;
    const int y0 = ('A' / kCells) * cell;
    long left = 0;
    long right = 0;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            (x < cell / 2 ? left : right) += atlas.at(x0 + x, y0 + y).a;
        }
    }
    EXPECT_NEAR(double(left) / double(right), 1.0, 0.1);
    // White everywhere, so blending only ever brightens.
    EXPECT_EQ(atlas.at(x0 + cell / 2, y0 + cell / 2).r, 255);

    for (const char* name : {"font.png", "altimeter.png", "arrow.png", "score.png", "warn.png"}) {
        const Picture picture(kTextureDir + name);
        ASSERT_TRUE(picture.valid()) << name;
        EXPECT_TRUE(picture.hasAlpha()) << name;
        EXPECT_EQ(picture.width(), picture.height()) << name;
        EXPECT_EQ(picture.at(0, 0).a, 0) << name;
        EXPECT_EQ(picture.at(picture.width() - 1, 0).a, 0) << name;
    }

    // The needle points up from the centre and the score badge leaves a dark plate for the number.
    const Picture arrow(kTextureDir + "arrow.png");
    ASSERT_TRUE(arrow.valid());
    const int size = arrow.width();
    const int middle = size / 2;
    // Opaque along the upper half of the vertical through the centre, clear well below and to the sides.
    for (int y = size / 6; y < middle; y += 4) {
        EXPECT_GT(arrow.at(middle, y).a, 200) << "y " << y;
    }
    for (int y = size * 3 / 4; y < size; y += 4) {
        EXPECT_EQ(arrow.at(middle, y).a, 0) << "y " << y;
    }
    EXPECT_EQ(arrow.at(size / 6, middle).a, 0);
    EXPECT_EQ(arrow.at(size * 5 / 6, middle).a, 0);

    const Picture score(kTextureDir + "score.png");
    ASSERT_TRUE(score.valid());
    // The game prints the score at x 44-138, y 64-84 of a window where the 128-pixel icon sits at
    // (10, 15): in this picture x 68-256 and, from the top, y 118-158. White digits need a dark,
    // mostly opaque plate under the digits (which start after a leading blank, at x about 108).
    const double scale = score.width() / 256.0;
    long light = 0;
    long covered = 0;
    long samples = 0;
    for (int y = int(122 * scale); y < int(154 * scale); ++y) {
        for (int x = int(110 * scale); x < int(240 * scale); ++x) {
            const Picture::Rgba p = score.at(x, y);
            light += (p.r + p.g + p.b) / 3;
            covered += p.a;
            ++samples;
        }
    }
    EXPECT_LT(light / samples, 80);
    EXPECT_GT(covered / samples, 150);
}

TEST(SoundFiles, LengthLevelPitchAndEnds) {
    struct Expected {
        const char* name;
        double minSeconds, maxSeconds;
        double minHz, maxHz;  // of the first 100 ms; 0, 0: noise
        bool loop;
    };
    const Expected sounds[] = {
        {"engine.wav", 0.5, 5.0, 40.0, 120.0, true},   {"wind.wav", 1.0, 10.0, 0, 0, true},
        {"chime.wav", 0.3, 2.0, 700.0, 1500.0, false}, {"fanfare.wav", 0.8, 3.0, 400.0, 700.0, false},
        {"crash.wav", 0.5, 3.0, 0, 0, false},          {"beep.wav", 0.05, 0.5, 600.0, 1200.0, false},
        {"go.wav", 0.1, 1.0, 1200.0, 2400.0, false},
    };
    for (const Expected& expected : sounds) {
        SCOPED_TRACE(expected.name);
        const testsupport::AudioSignal signal =
            testsupport::readAudio(std::string("../resources/sounds/") + expected.name);
        const std::vector<float>& x = signal.samples;
        ASSERT_FALSE(x.empty());
        EXPECT_EQ(signal.channels, 1);
        EXPECT_GE(signal.rate, 22050);
        EXPECT_GE(signal.seconds(), expected.minSeconds);
        EXPECT_LE(signal.seconds(), expected.maxSeconds);
        // Loud enough to hear, with headroom below full scale.
        EXPECT_GT(testsupport::peakLevel(x), 0.3f);
        EXPECT_LT(testsupport::peakLevel(x), 0.95f);
        if (expected.maxHz > 0) {
            const double hz = testsupport::fundamental(signal.slice(0.0, 0.1), signal.rate);
            EXPECT_GE(hz, expected.minHz);
            EXPECT_LE(hz, expected.maxHz);
        }
        if (expected.loop) {
            // Played round, the step from the last sample back to the first is like the steps next to
            // it, not a jump, and the level does not change there.
            float nearbyStep = 0.0f;
            for (std::size_t i = 1; i < 100; ++i) {
                nearbyStep = std::max(
                    {nearbyStep, std::abs(x[i] - x[i - 1]), std::abs(x[x.size() - i] - x[x.size() - i - 1])});
            }
            EXPECT_LE(std::abs(x.front() - x.back()), 1.5f * nearbyStep);
            EXPECT_NEAR(testsupport::rmsLevel(signal.slice(0.0, 0.02)) /
                            testsupport::rmsLevel(signal.slice(signal.seconds() - 0.02, signal.seconds())),
                        1.0, 0.3);
        } else {
            // Starts from silence and ends in it: no click at either end.
            EXPECT_LT(std::abs(x.front()), 0.02f);
            EXPECT_LT(std::abs(x.back()), 0.02f);
        }
    }
}
