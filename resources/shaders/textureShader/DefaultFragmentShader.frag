#version 330 core
// Texture program (TextureShader), fragment stage: the sky box texture as it is, no lighting, no fog.
// Inputs: uv; clip positions of this and the previous frame.
// Uniforms: myTextureSampler (sampler2D, unit 0). The texture is taken as sRGB and decoded to linear, so
//   after the composite pass's gamma it shows with its own colours.
// Outputs: 0 colour (linear RGB, alpha 1), 1 screen-space velocity (vec3: half the NDC motion, z = 0).

in vec2 vUv;
in vec4 vCurrClip;
in vec4 vPrevClip;

uniform sampler2D myTextureSampler;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec3 fragVelocity;

vec3 screenVelocity() {
    if (abs(vCurrClip.w) < 1e-6 || abs(vPrevClip.w) < 1e-6) {
        return vec3(0.0);
    }
    return vec3(0.5 * (vCurrClip.xy / vCurrClip.w - vPrevClip.xy / vPrevClip.w), 0.0);
}

void main() {
    vec3 color = pow(clamp(texture(myTextureSampler, vUv).rgb, 0.0, 1.0), vec3(2.2));
    fragColor = vec4(color, 1.0);
    fragVelocity = screenVelocity();
}
