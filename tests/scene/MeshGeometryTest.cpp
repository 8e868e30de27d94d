// The game's copy of a mesh, without a display.
#include "scene/MeshGeometry.h"

#include <gtest/gtest.h>

#include <assimp/scene.h>

#include "tests/support/SceneBuilder.h"

using common::scene::MeshGeometry;
using testsupport::SceneBuilder;

namespace {

MeshGeometry copyOf(const SceneBuilder::MeshShape& shape) {
    SceneBuilder builder;
    builder.addMesh(shape);
    return MeshGeometry::fromAiMesh(builder.build()->mMeshes[0]);
}

}  // namespace

// Vertices, first uv channel ((0, 0) without one) and whole triangles only; bounds from the origin.
TEST(MeshGeometry, CopiesVerticesAndWholeTrianglesAndFindsItsFolderByTheLastForwardSlash) {
    const MeshGeometry box = copyOf(SceneBuilder::box(glm::vec3(5, 6, 7), glm::vec3(10, 11, 12)));
    EXPECT_EQ(box.boundsMin, glm::vec3(0));
    EXPECT_EQ(box.boundsMax, glm::vec3(10, 11, 12));
    EXPECT_EQ(box.triangleCount(), 12u);
    EXPECT_EQ(box.positions.size(), 8u);
    EXPECT_EQ(box.normals.size(), 8u);
    EXPECT_EQ(box.uvs[1], glm::vec2(1, 0));

    SceneBuilder::MeshShape bare = SceneBuilder::triangle();
    bare.uvs.clear();
    EXPECT_EQ(copyOf(bare).uvs, std::vector<glm::vec2>(3, glm::vec2(0)));

    SceneBuilder::MeshShape mixed = SceneBuilder::box(glm::vec3(0), glm::vec3(1));
    mixed.faces = {{0}, {0, 1, 2}, {1, 2}, {3, 2, 1}};
    EXPECT_EQ(copyOf(mixed).indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 2, 1}));
    mixed.faces.clear();
    EXPECT_TRUE(copyOf(mixed).indices.empty());

    // A mesh's textures are looked up in its file's folder: only the last forward slash counts.
    EXPECT_EQ(MeshGeometry::directoryOf("../resources/meshes/Circle.dae"), "../resources/meshes");
    EXPECT_EQ(MeshGeometry::directoryOf("Circle.dae"), ".");
    EXPECT_EQ(MeshGeometry::directoryOf("/Circle.dae"), "/");
    EXPECT_EQ(MeshGeometry::directoryOf("models\\win\\Circle.dae"), ".");
    EXPECT_EQ(MeshGeometry::directoryOf("a/b\\c.dae"), "a");
}
