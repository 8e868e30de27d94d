#version 330 core
#extension GL_ARB_explicit_uniform_location : require
// Transparent program (TransparentShader), fragment stage: a tinted glass colour, lighter toward the top
// of the disc as if it mirrored the sky, with the opacity as alpha (blended with
// GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA by the transparent pass).
// Inputs: world position, disc centre and radius, view distance, clip positions of this and the previous
//   frame.
// Uniforms: opacity (float at uniform location 0, set by location: 0.3 with transparency on, 1.0 off).
// Outputs: 0 colour (linear RGB, alpha = opacity; the composite pass applies gamma),
//          1 screen-space velocity (vec3: xy = half the NDC motion since the previous frame, z = 0).

in vec3 vPositionWorld;
in vec3 vCentreWorld;
in float vRadiusWorld;
in float vViewDistance;
in vec4 vCurrClip;
in vec4 vPrevClip;

layout(location = 0) uniform float opacity;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec3 fragVelocity;

const vec3 kDeepTint = vec3(0.04, 0.30, 0.42);
const vec3 kSkyTint = vec3(0.55, 0.85, 1.0);
const vec3 kFogColor = vec3(0.48, 0.61, 0.79);

vec3 screenVelocity() {
    if (abs(vCurrClip.w) < 1e-6 || abs(vPrevClip.w) < 1e-6) {
        return vec3(0.0);
    }
    return vec3(0.5 * (vCurrClip.xy / vCurrClip.w - vPrevClip.xy / vPrevClip.w), 0.0);
}

float fogAmount(float distance) {
    float d = max(distance - 120.0, 0.0) / 600.0;
    return 1.0 - exp(-d * d);
}

void main() {
    float height = clamp(0.5 + 0.5 * (vPositionWorld.y - vCentreWorld.y) / vRadiusWorld, 0.0, 1.0);
    vec3 color = mix(kDeepTint, kSkyTint, smoothstep(0.1, 0.9, height));
    color = mix(color, kFogColor, fogAmount(vViewDistance));

    fragColor = vec4(color, opacity);
    fragVelocity = screenVelocity();
}
