#version 330 core
// Arrow program (ArrowShader), fragment stage: the needle texture on unit 0, alpha passed through.
// Inputs: uv.
// Uniforms: myTextureSampler (sampler2D, unit 0).
// Outputs: 0 colour (RGBA of the texture; drawn to the window with blending, no gamma).

in vec2 vUv;

uniform sampler2D myTextureSampler;

layout(location = 0) out vec4 fragColor;

void main() {
    fragColor = texture(myTextureSampler, vUv);
}
