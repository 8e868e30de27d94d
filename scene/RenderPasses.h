#pragma once

#include <glm/glm.hpp>

namespace common::gl {
class ShaderController;
}

namespace common::scene {

class SceneController;

// The passes that draw the scene, in the order the renderer calls them each frame. Each leaves the
// GL state as its comment says.
namespace render_passes {

// The debug view's preview strip along the bottom of the window: the velocity preview, then one
// preview per shadow cascade, each a square of kPreviewSize pixels.
constexpr int kPreviewSize = 128;
constexpr int kVelocityPreviewX = 30;
constexpr int kFirstShadowPreviewX = 160;
constexpr int kShadowPreviewStep = 130;

// Depth from the light into each cascade's shadow map, for the objects that cast shadows. Leaves the
// default framebuffer bound and back-face culling on; the caller restores the viewport. The depth
// program comes from `shaders`.
void drawShadowMaps(SceneController& scene, const gl::ShaderController& shaders);
// The environment, then the visible objects, into the bound target; counts the triangles. Leaves the
// shadow maps bound on units 1 to 3 and unit 0 active. The shadow receivers' program and, in wireframe
// mode, the boxes' line program come from `shaders`.
void drawScene(SceneController& scene, const gl::ShaderController& shaders);
// The craft's mesh once more at `pose` (position and rotation; the craft's own scale is kept),
// translucent, over what is drawn: a ghost that writes neither depth nor velocity and casts no shadow.
// Leaves blending off, depth writes and every colour output on.
void drawGhost(SceneController& scene, const glm::mat4& pose);
// The transparent ring discs, blended over what is drawn. Leaves blending off.
void drawTransparent(SceneController& scene);
// The three shadow maps as grey previews along the bottom of the window. Leaves the viewport set to
// the last preview.
void drawShadowMapPreviews(SceneController& scene);

}  // namespace render_passes
}  // namespace common::scene
