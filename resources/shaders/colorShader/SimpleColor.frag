#version 330 core
// Colour program (ColorShader), fragment stage: a bright golden ring colour, lit by a fixed sun direction
// (this program gets no light uniform) with a glowing rim so the rings stand out from the landscape.
// Inputs: view-space position, normal and up; clip positions of this and the previous frame.
// Uniforms: viewMatrix (mat4, to turn the fixed sun direction into view space).
// Outputs: 0 colour (linear RGB, alpha 1; the composite pass applies gamma),
//          1 screen-space velocity (vec3: xy = half the NDC motion since the previous frame, z = 0).

in vec3 vPositionView;
in vec3 vNormalView;
in vec3 vUpView;
in vec4 vCurrClip;
in vec4 vPrevClip;

uniform mat4 viewMatrix;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec3 fragVelocity;

const vec3 kRingColor = vec3(1.0, 0.40, 0.02);
const vec3 kSunDirectionWorld = vec3(0.35, 0.85, 0.4);
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
    vec3 toEye = normalize(-vPositionView);
    float normalLength = length(vNormalView);
    vec3 n = normalLength > 0.0 ? vNormalView / normalLength : toEye;
    vec3 sun = normalize(mat3(viewMatrix) * normalize(kSunDirectionWorld));

    float diffuse = max(dot(n, sun), 0.0);
    float sky = 0.5 + 0.5 * dot(n, normalize(vUpView));
    vec3 halfway = normalize(sun + toEye);
    float specular = pow(max(dot(n, halfway), 0.0), 40.0);
    float rim = pow(1.0 - max(dot(n, toEye), 0.0), 3.0);

    vec3 color = kRingColor * (0.3 + 0.8 * diffuse + 0.2 * sky) + vec3(0.6) * specular
                 + vec3(1.0, 0.65, 0.2) * 0.45 * rim;
    color = mix(color, kFogColor, fogAmount(length(vPositionView)));

    fragColor = vec4(color, 1.0);
    fragVelocity = screenVelocity();
}
