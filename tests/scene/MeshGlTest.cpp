#include "scene/Mesh.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "gl/GlslProg.h"
#include "gl/ShaderController.h"
#include "gl/TextureExc.h"
#include "camera/CameraPersp.h"
#include "scene/Light.h"
#include "tests/support/GlContext.h"
#include "tests/support/GlQueries.h"
#include "tests/support/Picture.h"
#include "tests/support/SceneBuilder.h"
#include "tests/support/TestFiles.h"

using common::gl::ShaderType;
using common::scene::Mesh;
using common::scene::MeshGeometry;
using common::scene::SceneObject;
using testsupport::SceneBuilder;

namespace {

class MeshImport : public testsupport::GlTest {
  protected:
    // A triangle whose material names `textures` (none: the plain material), imported as if read from
    // `scenePath`.
    std::unique_ptr<Mesh> importTextured(const std::vector<std::string>& textures,
                                         const std::string& scenePath = "scene.dae") {
        SceneBuilder builder;
        SceneBuilder::MeshShape shape = SceneBuilder::triangle();
        shape.material = textures.empty() ? 0 : builder.addMaterial(textures);
        builder.addMesh(shape);
        scene = builder.build();
        auto mesh = std::make_unique<Mesh>();
        mesh->initFromAiMesh(scene->mMeshes[0], scene.get(), scenePath);
        return mesh;
    }

    std::unique_ptr<aiScene> scene;
};

glm::mat4 readUniform(GLuint program, const char* name) {
    glm::mat4 value(0.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), glm::value_ptr(value));
    return value;
}

}  // namespace

// Bounds, counts and the world box; a second import replaces the first. (What the copy keeps of each
// mesh is MeshGeometry's, tested without a display.)
TEST_F(MeshImport, TheImportSetsBoxesAndCountsAndASecondOneReplacesTheFirst) {
    SceneBuilder builder;
    builder.addMesh(SceneBuilder::box(glm::vec3(5, 6, 7), glm::vec3(10, 11, 12)));
    builder.addMesh(SceneBuilder::triangle());
    scene = builder.build();
    Mesh mesh;
    mesh.setModelMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(100, 0, 0)));
    mesh.initFromAiMesh(scene->mMeshes[0], scene.get(), "scene.dae");
    EXPECT_EQ(mesh.getWorldBox()->max, glm::vec3(110, 11, 12));
    EXPECT_EQ(mesh.getTriangleCount(), 12);
    mesh.initFromAiMesh(scene->mMeshes[1], scene.get(), "scene.dae");
    EXPECT_EQ(mesh.getTriangleCount(), 1);
    mesh.draw();
    EXPECT_EQ(testsupport::glError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Material textures: the first diffuse one only (other.png does not exist), beside the scene file.
// Drawing sets the matrices of the mesh's program.
TEST_F(MeshImport, TheTextureIsLookedUpBesideTheSceneFileAndDrawSetsTheMatricesOfItsProgram) {
    testsupport::TempDir dir;
    testsupport::writePng(dir.path() / "models" / "skin.png", 4, 4,
                          [](int, int) { return testsupport::Picture::Rgba{}; });
    EXPECT_NE(
        importTextured({"skin.png", "other.png"}, (dir.path() / "models" / "scene.dae").string())->texture,
        nullptr);
    EXPECT_EQ(importTextured({})->texture, nullptr);
    EXPECT_THAT([&] { importTextured({"gone.png"}, "/nowhere/scene.dae"); },
                ::testing::ThrowsMessage<common::gl::TextureExc>(::testing::HasSubstr("/nowhere/gone.png")));

    const auto mesh = importTextured({});
    mesh->shaderKey = ShaderType::LightShader;
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3));
    const glm::mat4 previous = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 2));
    mesh->setModelMatrix(model);
    mesh->setPrevModelMatrix(previous);
    // The normals turn with the view the registry was given for this frame.
    common::camera::CameraPersp camera;
    camera.lookAt(glm::vec3(5, 6, 7), glm::vec3(0, 1, 0), glm::vec3(0, 1, 0));
    common::gl::ShaderController& registry = common::gl::ShaderController::instance();
    registry.updateCommonUniforms(camera, common::scene::Light(glm::vec3(0, 9, 0), glm::vec3(0, -1, 0)),
                                  glm::mat4(1.0f));
    mesh->draw();

    const GLuint program = registry.getShader(ShaderType::LightShader)->handle;
    const glm::mat4 view = camera.viewMatrix;
    EXPECT_EQ(readUniform(program, "modelMatrix"), model);
    EXPECT_EQ(readUniform(program, "prevModelMatrix"), previous);
    const glm::mat4 expected = view * glm::transpose(glm::inverse(model));
    const glm::mat4 actual = readUniform(program, "invertedTransposedModelViewMatrix");
    for (int c = 0; c < 4; ++c) {
        EXPECT_LT(glm::distance(actual[c], expected[c]), 1e-5f) << "column " << c;
    }
}
