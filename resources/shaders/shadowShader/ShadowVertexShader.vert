#version 330 core
// Shadow program (ShadowShader), vertex stage: the terrain and the water, receiving cascaded shadows.
// Attributes: 0 position (vec3, model space), 1 uv (vec2), 2 normal (vec3, model space).
// Uniforms: projectionMatrix, viewMatrix, prevVPMatrix (mat4, set by the registry every frame);
//   LightPosition_worldspace (vec3, registry); modelMatrix, prevModelMatrix,
//   invertedTransposedModelViewMatrix (mat4, set by the mesh draw);
//   ShadowCoord1, ShadowCoord2, ShadowCoord3 (mat4: bias x cascade projection x light view, set by the main
//   pass when it meets the terrain).
// Outputs to the fragment stage: uv, view-space position, normal, light position and up, the position in
// each cascade's shadow-map space, and the clip position of this frame and of the previous one.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 prevVPMatrix;
uniform mat4 modelMatrix;
uniform mat4 prevModelMatrix;
uniform mat4 invertedTransposedModelViewMatrix;
uniform vec3 LightPosition_worldspace;
uniform mat4 ShadowCoord1;
uniform mat4 ShadowCoord2;
uniform mat4 ShadowCoord3;

out vec2 vUv;
out vec3 vPositionView;
out vec3 vNormalView;
out vec3 vLightView;
out vec3 vUpView;
out vec4 vShadowCoord1;
out vec4 vShadowCoord2;
out vec4 vShadowCoord3;
out vec4 vCurrClip;
out vec4 vPrevClip;

void main() {
    vec4 positionWorld = modelMatrix * vec4(position, 1.0);
    vec4 positionView = viewMatrix * positionWorld;
    vUv = uv;
    vPositionView = positionView.xyz;
    // view x transposed inverse model: the normal matrix into view space (the view is a rigid motion).
    vNormalView = mat3(invertedTransposedModelViewMatrix) * normal;
    vLightView = (viewMatrix * vec4(LightPosition_worldspace, 1.0)).xyz;
    vUpView = mat3(viewMatrix) * vec3(0.0, 1.0, 0.0);

    vShadowCoord1 = ShadowCoord1 * positionWorld;
    vShadowCoord2 = ShadowCoord2 * positionWorld;
    vShadowCoord3 = ShadowCoord3 * positionWorld;

    // An affine matrix always has [3][3] == 1; a zero there means prevModelMatrix was never set.
    mat4 prevModel = prevModelMatrix[3][3] == 0.0 ? modelMatrix : prevModelMatrix;
    vCurrClip = projectionMatrix * positionView;
    vPrevClip = prevVPMatrix * prevModel * vec4(position, 1.0);
    gl_Position = vCurrClip;
}
