#version 330 core
// Transparent program (TransparentShader), vertex stage: the glassy discs inside the rings.
// Attributes: 0 position (vec3, model space), 1 uv and 2 normal (unused: a disc's model matrix flattens
//   one axis to zero, so it has no inverse and no usable normal matrix).
// Uniforms: projectionMatrix, viewMatrix, prevVPMatrix (mat4, set by the registry every frame);
//   modelMatrix, prevModelMatrix (mat4, set by the mesh draw).
// Outputs to the fragment stage: world position, the disc's centre and radius in world units, view
// distance, and the clip position of this frame and of the previous one.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 prevVPMatrix;
uniform mat4 modelMatrix;
uniform mat4 prevModelMatrix;

out vec3 vPositionWorld;
out vec3 vCentreWorld;
out float vRadiusWorld;
out float vViewDistance;
out vec4 vCurrClip;
out vec4 vPrevClip;

void main() {
    vec4 positionWorld = modelMatrix * vec4(position, 1.0);
    vec4 positionView = viewMatrix * positionWorld;
    vPositionWorld = positionWorld.xyz;
    vCentreWorld = modelMatrix[3].xyz;
    vRadiusWorld = max(length(modelMatrix[0].xyz), 1e-3);
    vViewDistance = length(positionView.xyz);

    // An affine matrix always has [3][3] == 1; a zero there means prevModelMatrix was never set.
    mat4 prevModel = prevModelMatrix[3][3] == 0.0 ? modelMatrix : prevModelMatrix;
    vCurrClip = projectionMatrix * positionView;
    vPrevClip = prevVPMatrix * prevModel * vec4(position, 1.0);
    gl_Position = vCurrClip;
}
