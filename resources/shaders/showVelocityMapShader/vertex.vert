#version 330 core
// Velocity preview program (ShowVelocityMapShader), vertex stage: the small debug quad.
// Attributes (the same locations as QuadShader): 0 position (vec3, clip space), 1 uv (vec2),
//   2 normal (vec3, unused).
// Outputs to the fragment stage: uv.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

out vec2 vUv;

void main() {
    vUv = uv;
    gl_Position = vec4(position, 1.0);
}
