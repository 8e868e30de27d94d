#include "scene/RenderPasses.h"

#include <gtest/gtest.h>

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include "camera/BoundingBox.h"
#include "camera/CameraPersp.h"
#include "camera/Frustum.h"
#include "gl/RenderTarget.h"
#include "scene/SceneController.h"
#include "scene/SceneObject.h"
#include "tests/support/GlQueries.h"
#include "tests/support/SceneTest.h"

using common::scene::SceneController;
using testsupport::integer;
using testsupport::SceneBuilder;

namespace {

// An object without a box (never culled) unless given one, that notes the GL state each pass draws it in.
class Probe : public common::scene::SceneObject {
  public:
    void reset() override {}
    void update(double) override {}
    void draw() override {
        ++draws;
        GLint mode[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, mode);
        polygonMode = mode[0];
        blending = glIsEnabled(GL_BLEND);
        glActiveTexture(GL_TEXTURE1);
        unitOne = static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D));
        glActiveTexture(GL_TEXTURE0);
    }
    void drawDepth() override { ++depthDraws; }
    void setFilterBilinear() override {}
    void setFilterNearest() override {}
    void setMipmapLinear() override {}
    void setMipmapNearest() override {}
    void setMipmapOff() override {}
    void placeBox(const glm::vec3& centre) {
        worldBox =
            std::make_unique<common::camera::BoundingBox>(centre - glm::vec3(1.0f), centre + glm::vec3(1.0f));
    }

    int draws = 0;
    int depthDraws = 0;
    GLint polygonMode = 0;
    bool blending = false;
    GLuint unitOne = 0;
};

// A craft at (100, 80, -100) flying along +z, a ring 40 units ahead and one 100 units behind it,
// a terrain slab, a plain rock far behind, and a sun high above.
class RenderPasses : public testsupport::SceneTest {
  protected:
    void SetUp() override {
        testsupport::SceneTest::SetUp();
        SceneBuilder builder;
        const unsigned small = builder.addMesh(SceneBuilder::triangle());
        const unsigned slab = builder.addMesh(SceneBuilder::box(glm::vec3(0, 0, -512), glm::vec3(512, 1, 0)));
        builder.addNode("Player", at(100, 80, -100), {small});
        builder.addNode("Circle.ahead", at(100, 80, -60), {small});
        builder.addNode("Circle.behind", at(100, 80, -200), {small});
        builder.addNode("Terrain", glm::mat4(1.0f), {slab});
        builder.addNode("Rock", at(100, 10, -400), {slab});
        builder.addNode("Sun", glm::rotate(at(100, 400, -100), glm::radians(-80.0f), glm::vec3(1, 0, 0)), {});
        builder.addLight("Sun");
        ASSERT_TRUE(load(controller, builder));
        controller.update(1.0 / 60.0);  // places the chase camera, the frustum and the cascades
        ringTriangles = controller.objects[1]->getTriangleCount();
    }

    SceneController controller;
    Probe probe;
    int ringTriangles = 0;
};

}  // namespace

// Culling. The player is never culled: with a camera in front of the craft looking on along +z, the
// craft is behind it and still counts.
TEST_F(RenderPasses, RingsBehindTheCameraAreNeitherDrawnNorCountedUnlessCullingIsOffButThePlayerIs) {
    controller.render();
    // Terrain (12) + player (1) + the ring ahead; the ring and the rock behind are culled.
    EXPECT_EQ(controller.getTriangleCount(), 12 + 1 + ringTriangles);
    controller.frustumCulling = false;
    controller.render();
    EXPECT_EQ(controller.getTriangleCount(), 12 + 1 + 2 * ringTriangles + 12);

    controller.frustumCulling = true;
    controller.camera->lookAt(glm::vec3(100, 80, -90), glm::vec3(100, 80, 0), glm::vec3(0, 1, 0));
    controller.frustum->fromCamera(*controller.camera);
    controller.render();
    EXPECT_EQ(controller.getTriangleCount(), 12 + 1 + ringTriangles);
}

// What each pass draws, and in which state: wireframe draws in line mode and ends in fill mode; the disc
// pass blends the discs (which 25 rings get) and leaves blending off.
TEST_F(RenderPasses, WireframeDrawsInLinesAndTheDiscsAreBlendedEachLeavingTheStateAsFound) {
    controller.objects.push_back(&probe);
    controller.wireframe = true;
    controller.render();
    EXPECT_EQ(probe.polygonMode, GL_LINE);
    EXPECT_EQ(integer(GL_POLYGON_MODE), GL_FILL);
    controller.wireframe = false;
    controller.render();
    EXPECT_EQ(probe.polygonMode, GL_FILL);
    EXPECT_FALSE(probe.blending);

    Probe disc;
    controller.transparentObjects.push_back(&disc);
    controller.renderTransparent();
    EXPECT_EQ(disc.draws, 1);
    EXPECT_TRUE(disc.blending);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The light's casters go into each of the three maps; without a light, or not casting, nothing does.
// Every environment mesh may sample the cascades, whatever its place before the terrain. The previews
// sit in a row and keep the maps comparing.
TEST_F(RenderPasses, CastersFillEveryShadowMapWhichIsBoundBeforeTheEnvironmentDrawsAndPreviewedInARow) {
    ASSERT_TRUE(controller.hasShadows());
    controller.objects.push_back(&probe);
    probe.castsShadow = true;
    controller.renderShadowMaps();
    EXPECT_EQ(probe.depthDraws, 3);
    probe.castsShadow = false;
    controller.renderShadowMaps();
    EXPECT_EQ(probe.depthDraws, 3);
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);

    Probe environmentMesh;
    controller.environment.insert(controller.environment.begin(), &environmentMesh);
    controller.render();
    EXPECT_EQ(environmentMesh.unitOne, controller.shadowMaps[0]->texture);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (int i = 0; i < 3; ++i) {
        glActiveTexture(GL_TEXTURE1 + i);
        EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), controller.shadowMaps[i]->texture);
    }
    glActiveTexture(GL_TEXTURE0);

    controller.showShadowMaps();
    glm::ivec4 viewport(0);
    glGetIntegerv(GL_VIEWPORT, &viewport[0]);
    EXPECT_EQ(viewport, glm::ivec4(420, 0, 128, 128));
    for (const auto& map : controller.shadowMaps) {
        EXPECT_EQ(testsupport::texParameter(map->texture, GL_TEXTURE_COMPARE_MODE),
                  GL_COMPARE_REF_TO_TEXTURE);
    }
}

// A caster goes only into the maps it reaches: near the camera into all three (every cascade starts
// at the near plane), far down the view only into the last.
TEST_F(RenderPasses, ACasterIsDrawnOnlyIntoTheMapsItReaches) {
    controller.objects.push_back(&probe);
    probe.castsShadow = true;
    const glm::mat4 eye = glm::inverse(controller.camera->viewMatrix);
    const struct {
        float distance;
        int maps;
    } cases[] = {{5.0f, 3}, {600.0f, 1}};
    for (const auto& c : cases) {
        probe.depthDraws = 0;
        probe.placeBox(glm::vec3(eye[3] - eye[2] * c.distance));  // down the middle of the view
        controller.renderShadowMaps();
        EXPECT_EQ(probe.depthDraws, c.maps) << c.distance << " units ahead";
    }
}
