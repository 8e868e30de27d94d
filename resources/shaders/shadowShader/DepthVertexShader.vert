#version 330 core
// Shadow depth program (ShadowDepthShader), vertex stage: shadow casters seen from the light.
// Attributes: 0 position (vec3, model space), 1 uv and 2 normal (unused).
// Uniforms: projectionMatrix (mat4, the cascade's crop projection, set by the shadow pass);
//   viewMatrix (mat4, the light camera's view, set by the registry every frame);
//   modelMatrix (mat4, set by the depth draw).

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;

void main() {
    gl_Position = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
}
