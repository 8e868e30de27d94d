#version 330 core
// Quad program (QuadShader), fragment stage: the texture on unit 0 as it is, alpha passed through (the
// HUD blends with it). Draws to the window after the composite pass, so no gamma is applied here.
// Inputs: uv.
// Uniforms: myTextureSampler (sampler2D, unit 0).
// Outputs: 0 colour (RGBA of the texture).

in vec2 vUv;

uniform sampler2D myTextureSampler;

layout(location = 0) out vec4 fragColor;

void main() {
    fragColor = texture(myTextureSampler, vUv);
}
