#version 330 core
// Quad program (QuadShader), vertex stage: an image stretched over the current viewport (HUD images, the
// shadow-map previews). The quad's vertex array is set up with this program's attribute locations, and
// every program that later draws the same quads (BlurShader, ShowVelocityMapShader, ArrowShader) declares
// the same three: all three must stay in use here, or their locations would read as -1.
// Attributes: 0 position (vec3, already in clip space: the quad spans -1..1), 1 uv (vec2),
//   2 normal (vec3; the game's quads face +z, a quad facing away is not drawn).
// Outputs to the fragment stage: uv.

layout(location = 0) in vec3 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec3 normal;

out vec2 vUv;

// Beyond the far plane: a triangle with all its corners here is clipped away whole.
const vec4 kOutsideClipVolume = vec4(0.0, 0.0, 2.0, 1.0);

void main() {
    vUv = uv;
    // A quad's corners share one normal, so a quad facing away loses all of its triangles here, before
    // any fragment is shaded; a fragment-stage discard would also cost every fragment of a visible quad.
    gl_Position = normal.z < 0.0 ? kOutsideClipVolume : vec4(position, 1.0);
}
