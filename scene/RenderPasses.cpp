#include "scene/RenderPasses.h"

#include <algorithm>
#include <vector>

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "camera/CameraPersp.h"
#include "camera/Frustum.h"
#include "game/Player.h"
#include "gl/GlslProg.h"
#include "gl/RenderTarget.h"
#include "gl/ShaderController.h"
#include "scene/Light.h"
#include "scene/Quad.h"
#include "scene/SceneController.h"
#include "terrain/Terrain.h"

namespace common::scene::render_passes {
namespace {

constexpr int kCascadeCount = SceneController::kCascadeCount;
constexpr float kGhostOpacity = 0.4f;

// Maps clip coordinates (-1..1) to shadow-map texture coordinates (0..1).
const glm::mat4 kShadowBias(0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.5f,
                            0.5f, 0.5f, 1.0f);

// Every environment mesh on the shadow program samples the cascades on units 1 to 3, so they are
// bound before the first of them draws, whatever the order of the environment list.
void setShadowReceiverUniforms(const SceneController& scene, const gl::ShaderController& shaders) {
    gl::GlslProg* program = shaders.getShader(gl::ShaderType::ShadowShader);
    if (!program) {
        return;
    }
    const glm::mat4& lightView = scene.light->camera.viewMatrix;
    const camera::CameraPersp& camera = *scene.camera;
    float far[kCascadeCount];
    glm::mat4 shadowCoord[kCascadeCount];
    for (int i = 0; i < kCascadeCount; ++i) {
        far[i] = camera.cascadeFrustums[i]->farDistance;
        shadowCoord[i] = kShadowBias * camera.cascadeMatrices[i] * lightView;
    }
    program->bind();
    program->setUniform("ShadowCoord1", shadowCoord[0]);
    program->setUniform("ShadowCoord2", shadowCoord[1]);
    program->setUniform("ShadowCoord3", shadowCoord[2]);
    program->setUniform("myTextureSampler", 0);
    program->setUniform("shadowMap1", 1);
    program->setUniform("shadowMap2", 2);
    program->setUniform("shadowMap3", 3);
    const GLfloat farDistances[4] = {far[0], far[1], far[2], 1.0f};
    glUniform4fv(glGetUniformLocation(program->handle, "far_d"), 1, farDistances);
    for (int i = 0; i < kCascadeCount; ++i) {
        glActiveTexture(GL_TEXTURE1 + i);
        glBindTexture(GL_TEXTURE_2D, scene.shadowMaps[i]->texture);
    }
    glActiveTexture(GL_TEXTURE0);
}

// Whether the frustum lets the object be drawn (objects without a box always are).
bool isVisible(const SceneController& scene, const SceneObject& object) {
    const camera::BoundingBox* box = object.getWorldBox();
    return !box || scene.frustum->containsBox(*box) || scene.frustum->intersectsBox(*box);
}

// The island before the water it rises from, anything else next, the sky box last.
std::vector<SceneObject*> environmentNearToFar(const SceneController& scene) {
    std::vector<SceneObject*> ordered = scene.environment;
    const auto rank = [&scene](const SceneObject* object) {
        return object == scene.terrain ? 0 : object == scene.skybox ? 3 : object == scene.water ? 1 : 2;
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&rank](const SceneObject* a, const SceneObject* b) { return rank(a) < rank(b); });
    return ordered;
}

}  // namespace

void drawShadowMaps(SceneController& scene, const gl::ShaderController& shaders) {
    glCullFace(GL_FRONT);
    gl::GlslProg* depthProgram = shaders.getShader(gl::ShaderType::ShadowDepthShader);
    for (int i = 0; i < kCascadeCount; ++i) {
        scene.shadowMaps[i]->bindForWriting();
        glClear(GL_DEPTH_BUFFER_BIT);
        // Without a usable light the maps stay cleared to the far depth: nothing is in shadow.
        if (depthProgram && scene.hasShadows()) {
            depthProgram->bind();
            depthProgram->setUniform("projectionMatrix", scene.camera->cascadeMatrices[i]);
            // A caster outside a cascade's map would be clipped there anyway: skipping it saves the
            // rasterizer its vertices.
            const glm::mat4 toMap = scene.camera->cascadeMatrices[i] * scene.light->camera.viewMatrix;
            for (SceneObject* object : scene.objects) {
                if (!object->castsShadow) {
                    continue;
                }
                const camera::BoundingBox* box = object->getWorldBox();
                const bool culled = scene.frustumCulling && object != scene.player &&
                                    (!isVisible(scene, *object) || (box && !box->reachesClipCube(toMap)));
                if (!culled) {
                    object->drawDepth();
                }
            }
        }
        scene.shadowMaps[i]->unbind();
    }
    glCullFace(GL_BACK);
}

void drawScene(SceneController& scene, const gl::ShaderController& shaders) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Boxes are drawn in wireframe mode only, and only while their program is loaded.
    gl::GlslProg* boxProgram = scene.wireframe ? shaders.getShader(gl::ShaderType::ColorShaderRed) : nullptr;
    if (scene.wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    setShadowReceiverUniforms(scene, shaders);
    scene.triangleCount = 0;
    // Near to far, the sky last: llvmpipe's early depth test then skips the shading of every pixel
    // the craft, the rings and the island already cover (the sky alone costs as much as the island).
    for (SceneObject* object : scene.objects) {
        if (scene.frustumCulling && object != scene.player && object != scene.terrain &&
            !isVisible(scene, *object)) {
            continue;
        }
        scene.triangleCount += object->getTriangleCount();
        object->draw();
        if (boxProgram) {
            object->drawBoundingBox(*boxProgram);
        }
    }
    for (SceneObject* object : environmentNearToFar(scene)) {
        scene.triangleCount += object->getTriangleCount();
        object->draw();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, 0);
        if (boxProgram) {
            object->drawBoundingBox(*boxProgram);
        }
    }
    if (scene.wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

void drawGhost(SceneController& scene, const glm::mat4& pose) {
    Player* craft = scene.player;
    if (!craft) {
        return;
    }
    const glm::mat4 model = craft->getModelMatrix();
    const glm::mat4 previous = craft->getPrevModelMatrix();
    const glm::vec3 scale(glm::length(glm::vec3(model[0])), glm::length(glm::vec3(model[1])),
                          glm::length(glm::vec3(model[2])));
    const glm::mat4 ghost = glm::scale(pose, scale);
    craft->setModelMatrix(ghost);
    craft->setPrevModelMatrix(ghost);
    // A constant alpha makes the lit craft see-through without a program of its own; the velocity
    // target keeps what is behind the ghost, so motion blur ignores it.
    glEnable(GL_BLEND);
    glBlendColor(0.0f, 0.0f, 0.0f, kGhostOpacity);
    glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    glDepthMask(GL_FALSE);
    glColorMaski(1, GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    craft->draw();
    glColorMaski(1, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    craft->setModelMatrix(model);
    craft->setPrevModelMatrix(previous);
}

void drawTransparent(SceneController& scene) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (SceneObject* object : scene.transparentObjects) {
        object->draw();
    }
    glDisable(GL_BLEND);
}

// The maps are made for depth comparison; the previews switch it off so they show the depth itself,
// as grey (a depth texture reads as red alone).
void drawShadowMapPreviews(SceneController& scene) {
    const GLint depthAsGrey[4] = {GL_RED, GL_RED, GL_RED, GL_ONE};
    const GLint plain[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
    for (int i = 0; i < kCascadeCount; ++i) {
        const GLuint texture = scene.shadowMaps[i]->texture;
        scene.shadowMaps[i]->unbind();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, depthAsGrey);
        glViewport(kFirstShadowPreviewX + kShadowPreviewStep * i, 0, kPreviewSize, kPreviewSize);
        scene.debugQuad->draw();
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, plain);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

}  // namespace common::scene::render_passes
