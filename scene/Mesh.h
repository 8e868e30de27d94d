#pragma once

#include <memory>
#include <string>

#include <glm/glm.hpp>

#include "gl/ShaderType.h"
#include "scene/MeshGeometry.h"
#include "scene/SceneObject.h"

struct aiMesh;
struct aiScene;

namespace common::gl {
class Texture;
class TextureCache;
}  // namespace common::gl

namespace common::scene {

// An indexed triangle mesh drawn with one program of the shader registry (chosen by shaderKey) and
// at most one texture on unit 0. Filled once from an Assimp mesh; owns its GL objects and its boxes,
// and its texture unless a texture cache shares it. Vertex attributes: 0 position, 1 uv, 2 normal.
class Mesh : public SceneObject {
  public:
    Mesh();
    ~Mesh() override;

    void reset() override {}
    // Keeps this frame's matrix as the previous one: a moving subclass calls this first, then moves.
    void update(double dt) override;
    void draw() override;
    void drawDepth() override;
    void setFilterBilinear() override;
    void setFilterNearest() override;
    void setMipmapLinear() override;
    void setMipmapNearest() override;
    void setMipmapOff() override;

    // Copies the vertices, normals, first uv channel and triangles of `mesh`, uploads them, makes the
    // boxes (the local box always contains the model-space origin) and loads the material's first
    // diffuse texture. Needs a current GL context; call after shaderKey and the model matrix are set.
    // Throws gl::TextureExc when the texture file cannot be loaded.
    bool initFromAiMesh(const aiMesh* mesh, const aiScene* scene, const std::string& scenePath);
    // The same from a copy already made: uploads `meshGeometry` and loads the texture at
    // `texturePath` (none when empty), from `textures` when given (which must outlive the mesh).
    void initFromGeometry(MeshGeometry meshGeometry, const std::string& texturePath,
                          gl::TextureCache* textures = nullptr);
    // Sets `texture` from the material's first diffuse texture, looked up beside the scene file.
    bool loadMaterialTexture(const aiScene* scene, const std::string& scenePath, unsigned materialIndex);

    MeshGeometry geometry;
    gl::ShaderType shaderKey = gl::ShaderType::LightShader;
    // The texture drawn on unit 0: the mesh's own, or one shared through a texture cache.
    gl::Texture* texture = nullptr;

  protected:
    // New vertices and triangles for the same GL objects, texture and boxes.
    void replaceGeometry(MeshGeometry meshGeometry);
    // New triangles over the same vertices.
    void replaceIndices(std::vector<std::uint32_t> indices);

  private:
    enum Buffer { kIndexBuffer = 0, kPositionBuffer = 1, kNormalBuffer = 2, kUvBuffer = 3 };

    void upload();
    void loadTexture(const std::string& path, gl::TextureCache* textures = nullptr);
    void releaseGlObjects();
    // Binds the program, sets the matrices and draws the triangles; skipped without a program.
    void drawWith(gl::ShaderType type, bool withTexture);

    std::unique_ptr<gl::Texture> ownTexture;
    unsigned int vertexArray = 0;
    unsigned int buffers[4] = {0, 0, 0, 0};
};

}  // namespace common::scene
