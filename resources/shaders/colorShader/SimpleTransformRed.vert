#version 330 core
// Red colour program (ColorShaderRed), vertex stage: the bounding-box lines of the wireframe view.
// Attributes: 0 position (vec3; the boxes are already in world space and drawn with an identity model).
// Uniforms: projectionMatrix, viewMatrix, prevVPMatrix (mat4, registry); modelMatrix (mat4, box draw);
//   prevModelMatrix (mat4, optional: the box draw does not set it, so modelMatrix stands in for it).
// Outputs to the fragment stage: clip position of this frame and of the previous one.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 prevVPMatrix;
uniform mat4 modelMatrix;
uniform mat4 prevModelMatrix;

out vec4 vCurrClip;
out vec4 vPrevClip;

void main() {
    // An affine matrix always has [3][3] == 1; a zero there means prevModelMatrix was never set.
    mat4 prevModel = prevModelMatrix[3][3] == 0.0 ? modelMatrix : prevModelMatrix;
    vCurrClip = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
    vPrevClip = prevVPMatrix * prevModel * vec4(position, 1.0);
    gl_Position = vCurrClip;
}
