#version 330 core
// Quad program (QuadShader), vertex stage: an image stretched over the current viewport (HUD images, the
// shadow-map previews). The quad's vertex array is set up with this program's attribute locations, and
// every program that later draws the same quads (BlurShader, ShowVelocityMapShader, ArrowShader) declares
// the same three: all three must stay in use here, or their locations would read as -1.
// Attributes: 0 position (vec3, already in clip space: the quad spans -1..1), 1 uv (vec2),
//   2 normal (vec3; the game's quads face +z, a quad facing away is not drawn).
// Outputs to the fragment stage: uv and whether the quad faces the viewer.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

out vec2 vUv;
out float vFacing;

void main() {
    vUv = uv;
    vFacing = step(0.0, normal.z);
    gl_Position = vec4(position, 1.0);
}
