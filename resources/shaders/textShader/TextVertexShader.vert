#version 330 core
// Text program (TextOverlay), vertex stage: glyph squares given in window pixels.
// Attributes: 0 pixel position (vec2, origin at the window's lower-left corner, y up), 1 uv (vec2).
// Uniforms: size (vec2, window width and height in pixels): (0, 0) maps to the lower-left corner of the
//   viewport and size to its upper-right corner.
// Outputs to the fragment stage: uv.

layout(location = 0) in vec2 pixelPosition;
layout(location = 1) in vec2 uv;

uniform vec2 size;

out vec2 vUv;

void main() {
    vUv = uv;
    gl_Position = vec4(pixelPosition / size * 2.0 - 1.0, 0.0, 1.0);
}
