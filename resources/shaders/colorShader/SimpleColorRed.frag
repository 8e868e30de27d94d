#version 330 core
// Red colour program (ColorShaderRed), fragment stage: solid red lines.
// Inputs: clip positions of this and the previous frame.
// Outputs: 0 colour (pure red, alpha 1), 1 screen-space velocity (vec3: half the NDC motion, z = 0).

in vec4 vCurrClip;
in vec4 vPrevClip;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec3 fragVelocity;

vec3 screenVelocity() {
    if (abs(vCurrClip.w) < 1e-6 || abs(vPrevClip.w) < 1e-6) {
        return vec3(0.0);
    }
    return vec3(0.5 * (vCurrClip.xy / vCurrClip.w - vPrevClip.xy / vPrevClip.w), 0.0);
}

void main() {
    fragColor = vec4(1.0, 0.0, 0.0, 1.0);
    fragVelocity = screenVelocity();
}
