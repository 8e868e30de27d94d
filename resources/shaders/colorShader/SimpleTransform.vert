#version 330 core
// Colour program (ColorShader), vertex stage: the spinning ring parts.
// Attributes: 0 position (vec3, model space), 1 uv (vec2, unused), 2 normal (vec3, model space).
// Uniforms: projectionMatrix, viewMatrix, prevVPMatrix (mat4, set by the registry every frame);
//   modelMatrix, prevModelMatrix, invertedTransposedModelViewMatrix (mat4, set by the mesh draw).
// Outputs to the fragment stage: view-space position and normal, view-space "up", and the clip position
// of this frame and of the previous one (for the velocity output).

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 prevVPMatrix;
uniform mat4 modelMatrix;
uniform mat4 prevModelMatrix;
uniform mat4 invertedTransposedModelViewMatrix;

out vec3 vPositionView;
out vec3 vNormalView;
out vec3 vUpView;
out vec4 vCurrClip;
out vec4 vPrevClip;

void main() {
    vec4 positionView = viewMatrix * modelMatrix * vec4(position, 1.0);
    vPositionView = positionView.xyz;
    vNormalView = mat3(invertedTransposedModelViewMatrix) * normal;
    vUpView = mat3(viewMatrix) * vec3(0.0, 1.0, 0.0);

    // An affine matrix always has [3][3] == 1; a zero there means prevModelMatrix was never set.
    mat4 prevModel = prevModelMatrix[3][3] == 0.0 ? modelMatrix : prevModelMatrix;
    vCurrClip = projectionMatrix * positionView;
    vPrevClip = prevVPMatrix * prevModel * vec4(position, 1.0);
    gl_Position = vCurrClip;
}
