#version 330 core
// Text program (TextOverlay), fragment stage: the font atlas's colour with its alpha (blended with
// GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA; alpha 0 leaves the frame unchanged). No gamma is applied.
// Inputs: uv.
// Uniforms: myTextureSampler (sampler2D, unit 0: the 16 x 16 glyph atlas).
// Outputs: 0 colour (RGBA of the atlas).

in vec2 vUv;

uniform sampler2D myTextureSampler;

layout(location = 0) out vec4 fragColor;

void main() {
    fragColor = texture(myTextureSampler, vUv);
}
