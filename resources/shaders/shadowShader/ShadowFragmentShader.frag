#version 330 core
#extension GL_ARB_shading_language_420pack : enable
// Shadow program (ShadowShader), fragment stage: the mesh's texture lit by the sun with soft cascaded
// shadows, a sky/ground ambient fill, a sun glint on water, and fog toward the far clip (1000).
// Inputs: uv, view-space position, normal, light position and up, shadow-map coordinates of the three
//   cascades, clip positions of this and the previous frame.
// Uniforms: myTextureSampler (sampler2D, unit 0; taken as sRGB and decoded to linear);
//   shadowMap1, shadowMap2, shadowMap3 (sampler2DShadow, units 1, 2, 3: depth textures with
//   GL_COMPARE_REF_TO_TEXTURE / GL_LEQUAL);
//   far_d (vec4: x, y, z = far view distances of cascades 1, 2, 3; w unused);
//   showFrustums (int: 1 tints each cascade red, green, blue).
//   Where GL_ARB_shading_language_420pack exists the samplers start on their units, so the program is valid
//   before the main pass first sets them.
// The cascade is chosen by the fragment's view depth against far_d; beyond far_d.z nothing is shadowed.
// Outputs: 0 colour (linear RGB, alpha 1; the composite pass applies gamma),
//          1 screen-space velocity (vec3: xy = half the NDC motion since the previous frame, z = 0).

in vec2 vUv;
in vec3 vPositionView;
in vec3 vNormalView;
in vec3 vLightView;
in vec3 vUpView;
in vec4 vShadowCoord1;
in vec4 vShadowCoord2;
in vec4 vShadowCoord3;
in vec4 vCurrClip;
in vec4 vPrevClip;

#ifdef GL_ARB_shading_language_420pack
layout(binding = 0) uniform sampler2D myTextureSampler;
layout(binding = 1) uniform sampler2DShadow shadowMap1;
layout(binding = 2) uniform sampler2DShadow shadowMap2;
layout(binding = 3) uniform sampler2DShadow shadowMap3;
#else
uniform sampler2D myTextureSampler;
uniform sampler2DShadow shadowMap1;
uniform sampler2DShadow shadowMap2;
uniform sampler2DShadow shadowMap3;
#endif
uniform vec4 far_d;
uniform int showFrustums;

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

// Fraction of light reaching the fragment: 3 x 3 depth comparisons, each itself bilinearly filtered,
// which softens the shadow edge over about four texels. Outside the map counts as lit.
float litFraction(sampler2DShadow shadowMap, vec4 shadowCoord, float bias) {
    vec3 p = shadowCoord.xyz / shadowCoord.w;
    if (p.x <= 0.0 || p.x >= 1.0 || p.y <= 0.0 || p.y >= 1.0 || p.z >= 1.0) {
        return 1.0;
    }
    vec2 texel = 1.0 / vec2(textureSize(shadowMap, 0));
    float lit = 0.0;
    for (int x = -1; x <= 1; ++x) {
        for (int y = -1; y <= 1; ++y) {
            // textureLod: no derivatives needed inside the cascade branches.
            lit += textureLod(shadowMap, vec3(p.xy + vec2(x, y) * texel * 1.5, p.z - bias), 0.0);
        }
    }
    return lit / 9.0;
}

void main() {
    vec3 albedo = pow(clamp(texture(myTextureSampler, vUv).rgb, 0.0, 1.0), vec3(2.2));

    vec3 toEye = normalize(-vPositionView);
    float normalLength = length(vNormalView);
    vec3 n = normalLength > 0.0 ? vNormalView / normalLength : toEye;
    vec3 toLight = normalize(vLightView - vPositionView);
    vec3 up = normalize(vUpView);
    float nDotL = dot(n, toLight);

    // Steeper slopes toward the light need a larger depth bias against shadow acne.
    float bias = 0.0005 + 0.0015 * (1.0 - clamp(nDotL, 0.0, 1.0));
    float depth = -vPositionView.z;
    float lit = 1.0;
    vec3 cascadeTint = vec3(1.0);
    if (depth < far_d.x) {
        lit = litFraction(shadowMap1, vShadowCoord1, bias);
        cascadeTint = vec3(1.0, 0.35, 0.35);
    } else if (depth < far_d.y) {
        lit = litFraction(shadowMap2, vShadowCoord2, bias);
        cascadeTint = vec3(0.35, 1.0, 0.35);
    } else if (depth < far_d.z) {
        lit = litFraction(shadowMap3, vShadowCoord3, bias);
        cascadeTint = vec3(0.35, 0.35, 1.0);
    }

    float diffuse = max(nDotL, 0.0) * lit;
    vec3 ambient = mix(kGroundFill, kSkyFill, 0.5 + 0.5 * dot(n, up));

    // Water: a flat, blue-dominated surface catches a sun glint; the rock and grass stay matte.
    float blueness = smoothstep(0.02, 0.12, albedo.b - max(albedo.r, albedo.g));
    float flatness = smoothstep(0.97, 0.995, dot(n, up));
    vec3 halfway = normalize(toLight + toEye);
    float glint = pow(max(dot(n, halfway), 0.0), 90.0) * lit * step(0.0, nDotL);
    float specular = 0.04 * pow(max(dot(n, halfway), 0.0), 16.0) * lit + 1.5 * blueness * flatness * glint;

    vec3 color = albedo * (kSunColor * diffuse + ambient) + kSunColor * specular;
    if (showFrustums == 1) {
        color *= cascadeTint;
    }
    color = mix(color, kFogColor, fogAmount(length(vPositionView)));

    fragColor = vec4(color, 1.0);
    fragVelocity = screenVelocity();
}
