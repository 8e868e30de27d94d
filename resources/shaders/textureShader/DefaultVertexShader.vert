#version 330 core
// Texture program (TextureShader), vertex stage: the sky box.
// Attributes: 0 position (vec3, model space), 1 uv (vec2), 2 normal (vec3, unused).
// Uniforms: projectionMatrix, viewMatrix, prevVPMatrix (mat4, set by the registry every frame);
//   modelMatrix, prevModelMatrix (mat4, set by the mesh draw).
// The sky is pushed to the back of the depth range, so it never hides the landscape and is not cut away
// by the far clip plane however large the box is.
// Outputs to the fragment stage: uv, and the clip position of this frame and of the previous one.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 prevVPMatrix;
uniform mat4 modelMatrix;
uniform mat4 prevModelMatrix;

out vec2 vUv;
out vec4 vCurrClip;
out vec4 vPrevClip;

void main() {
    vUv = uv;
    // An affine matrix always has [3][3] == 1; a zero there means prevModelMatrix was never set.
    mat4 prevModel = prevModelMatrix[3][3] == 0.0 ? modelMatrix : prevModelMatrix;
    vCurrClip = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
    vPrevClip = prevVPMatrix * prevModel * vec4(position, 1.0);
    // Just in front of the far plane: depth 0.999995 still passes GL_LESS against a cleared depth of 1.
    gl_Position = vec4(vCurrClip.xy, vCurrClip.w * 0.99999, vCurrClip.w);
}
