#version 330 core
// Light program (LightShader), fragment stage: the mesh's texture lit by the sun (diffuse and a modest
// specular highlight) with a sky/ground ambient fill, fading into fog toward the far clip (1000).
// Inputs: uv, view-space position, normal, light position and up; clip positions of this and the previous
//   frame.
// Uniforms: myTextureSampler (sampler2D, unit 0: the mesh's texture, or whatever is bound there for a mesh
//   without one). The texture is taken as sRGB and decoded to linear before lighting.
// Outputs: 0 colour (linear RGB, alpha 1; the composite pass applies gamma),
//          1 screen-space velocity (vec3: xy = half the NDC motion since the previous frame, z = 0).

in vec2 vUv;
in vec3 vPositionView;
in vec3 vNormalView;
in vec3 vLightView;
in vec3 vUpView;
in vec4 vCurrClip;
in vec4 vPrevClip;

uniform sampler2D myTextureSampler;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec3 fragVelocity;

const vec3 kSunColor = vec3(1.0, 0.94, 0.84);
const vec3 kSkyFill = vec3(0.30, 0.36, 0.46);
const vec3 kGroundFill = vec3(0.13, 0.11, 0.09);
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
    vec3 albedo = pow(clamp(texture(myTextureSampler, vUv).rgb, 0.0, 1.0), vec3(2.2));

    vec3 toEye = normalize(-vPositionView);
    float normalLength = length(vNormalView);
    vec3 n = normalLength > 0.0 ? vNormalView / normalLength : toEye;
    vec3 toLight = normalize(vLightView - vPositionView);

    float diffuse = max(dot(n, toLight), 0.0);
    vec3 halfway = normalize(toLight + toEye);
    float specular = diffuse > 0.0 ? pow(max(dot(n, halfway), 0.0), 48.0) : 0.0;
    vec3 ambient = mix(kGroundFill, kSkyFill, 0.5 + 0.5 * dot(n, normalize(vUpView)));

    vec3 color = albedo * (kSunColor * diffuse + ambient) + kSunColor * 0.3 * specular;
    color = mix(color, kFogColor, fogAmount(length(vPositionView)));

    fragColor = vec4(color, 1.0);
    fragVelocity = screenVelocity();
}
