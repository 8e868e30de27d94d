#include "scene/SceneController.h"

#include <gtest/gtest.h>

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include "game/CircleCheckpoint.h"
#include "game/Player.h"
#include "scene/Mesh.h"
#include "tests/support/SceneTest.h"
#include "tests/support/SceneBuilder.h"
#include "tests/support/TestFiles.h"

using common::scene::SceneController;
using testsupport::SceneBuilder;

namespace {

glm::mat4 at(const glm::vec3& position) {
    return glm::translate(glm::mat4(1.0f), position);
}

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// A craft at (100, 80, -100) flying along +z, a ring 40 units ahead and one 100 units behind it,
// a terrain slab and a plain rock far behind.
class RenderPasses : public testsupport::SceneTest {
  protected:
    void SetUp() override {
        testsupport::SceneTest::SetUp();
        SceneBuilder builder;
        const unsigned small = builder.addMesh(SceneBuilder::triangle());
        const unsigned slab = builder.addMesh(SceneBuilder::box(glm::vec3(0, 0, -512), glm::vec3(512, 1, 0)));
        builder.addNode("Player", at(glm::vec3(100, 80, -100)), {small});
        builder.addNode("Circle.ahead", at(glm::vec3(100, 80, -60)), {small});
        builder.addNode("Circle.behind", at(glm::vec3(100, 80, -200)), {small});
        builder.addNode("Terrain", glm::mat4(1.0f), {slab});
        builder.addNode("Rock", at(glm::vec3(100, 10, -400)), {slab});
        ASSERT_TRUE(builder.write(dir.path() / "passes.dae"));
        testsupport::beginStdoutCapture();
        ASSERT_TRUE(controller.loadScene((dir.path() / "passes.dae").string()));
        testsupport::endStdoutCapture();
        controller.update(1.0 / 60.0);  // places the chase camera and the frustum
        ringTriangles = controller.objects[1]->getTriangleCount();
    }

    testsupport::TempDir dir;
    SceneController controller;
    int ringTriangles = 0;
};

}  // namespace

// Culling
TEST_F(RenderPasses, RingsBehindTheCameraAreNeitherDrawnNorCountedUnlessCullingIsOff) {
    controller.render();
    // Terrain (12) + player (1) + the ring ahead; the ring and the rock behind are culled.
    EXPECT_EQ(controller.getTriangleCount(), 12 + 1 + ringTriangles);
    controller.frustumCulling = false;
    controller.render();
    EXPECT_EQ(controller.getTriangleCount(), 12 + 1 + 2 * ringTriangles + 12);
}

TEST_F(RenderPasses, ThePlayerIsNeverCulled) {
    // A camera in front of the craft looking on along +z: the craft is behind it and still counts.
    controller.camera->lookAt(glm::vec3(100, 80, -90), glm::vec3(100, 80, 0), glm::vec3(0, 1, 0));
    controller.frustum->fromCamera(*controller.camera);
    controller.render();
    EXPECT_EQ(controller.getTriangleCount(), 12 + 1 + ringTriangles);
}

// GL state left behind
TEST_F(RenderPasses, WireframeDrawsLinesAndEndsInFillMode) {
    controller.wireframe = true;
    controller.render();
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
}

TEST_F(RenderPasses, ShadowPassRestoresBackFaceCullingAndTheDefaultFramebuffer) {
    controller.renderShadowMaps();
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
}

TEST_F(RenderPasses, MainPassLeavesTheShadowMapsOnUnitsOneToThree) {
    controller.render();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (int i = 0; i < 3; ++i) {
        glActiveTexture(GL_TEXTURE1 + i);
        EXPECT_EQ(static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D)), controller.shadowMaps[i]->texture);
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(RenderPasses, TransparentPassLeavesBlendingOff) {
    controller.renderTransparent();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(RenderPasses, PreviewsSitInARowAndKeepTheMapsComparing) {
    controller.showShadowMaps();
    glm::ivec4 viewport(0);
    glGetIntegerv(GL_VIEWPORT, &viewport[0]);
    EXPECT_EQ(viewport, glm::ivec4(420, 0, 128, 128));
    for (const auto& map : controller.shadowMaps) {
        glBindTexture(GL_TEXTURE_2D, map->texture);
        GLint compare = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compare);
        EXPECT_EQ(compare, GL_COMPARE_REF_TO_TEXTURE);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}
