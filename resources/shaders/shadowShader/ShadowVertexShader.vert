#version 330 core
// Shadow program (ShadowShader), vertex stage: the terrain and the water, receiving cascaded shadows.
// Attributes: 0 position (vec3, model space), 1 uv (vec2), 2 normal (vec3, model space).
// Uniforms: projectionMatrix, viewMatrix, prevVPMatrix (mat4, set by the registry every frame);
//   LightPosition_worldspace (vec3, registry; read by the fragment stage); modelMatrix, prevModelMatrix,
//   invertedTransposedModelViewMatrix (mat4, set by the mesh draw); ShadowCoord1, ShadowCoord2,
//   ShadowCoord3 (mat4: bias x cascade projection x light view, set by the main pass when it meets the
//   terrain; applied per fragment to the world position, for the chosen cascade only).
// Outputs to the fragment stage: uv, world- and view-space position, view-space normal, and the clip
// position of this frame and of the previous one. What the fragment stage can take from uniforms (the
// light and "up" in view space) is not passed on: every output costs the rasterizer setup and
// interpolation work.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 prevVPMatrix;
uniform mat4 modelMatrix;
uniform mat4 prevModelMatrix;
uniform mat4 invertedTransposedModelViewMatrix;

out vec2 vUv;
out vec3 vPositionWorld;
out vec3 vPositionView;
out vec3 vNormalView;
out vec4 vCurrClip;
out vec4 vPrevClip;

void main() {
    vec4 positionWorld = modelMatrix * vec4(position, 1.0);
    vec4 positionView = viewMatrix * positionWorld;
    vUv = uv;
    vPositionWorld = positionWorld.xyz;
    vPositionView = positionView.xyz;
    // view x transposed inverse model: the normal matrix into view space (the view is a rigid motion).
    vNormalView = mat3(invertedTransposedModelViewMatrix) * normal;

    // An affine matrix always has [3][3] == 1; a zero there means prevModelMatrix was never set.
    mat4 prevModel = prevModelMatrix[3][3] == 0.0 ? modelMatrix : prevModelMatrix;
    vCurrClip = projectionMatrix * positionView;
    vPrevClip = prevVPMatrix * prevModel * vec4(position, 1.0);
    gl_Position = vCurrClip;
}
