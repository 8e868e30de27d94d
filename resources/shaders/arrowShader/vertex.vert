#version 330 core
// Arrow program (ArrowShader), vertex stage: the altimeter needle, a quad turned about the viewport centre.
// Attributes (the same locations as QuadShader): 0 position (vec3, clip space), 1 uv (vec2),
//   2 normal (vec3, unused).
// Uniforms: rotate (mat4, applied to the quad's positions).
// Outputs to the fragment stage: uv.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 rotate;

out vec2 vUv;

void main() {
    vUv = uv;
    gl_Position = rotate * vec4(position, 1.0);
}
