#version 330 core
#extension GL_ARB_shading_language_420pack : enable
// Shadow program (ShadowShader), fragment stage: the mesh's texture lit by the sun with soft cascaded
// shadows, a sky/ground ambient fill, a sun glint on water, and fog toward the far clip (1000).
// Inputs: uv, world- and view-space position, view-space normal, clip positions of this and the previous
//   frame.
// Uniforms: myTextureSampler (sampler2D, unit 0; taken as sRGB and decoded to linear);
//   viewMatrix (mat4) and LightPosition_worldspace (vec3), for the light and "up" in view space;
//   ShadowCoord1, ShadowCoord2, ShadowCoord3 (mat4: world to shadow-map space of each cascade);
//   shadowMap1, shadowMap2, shadowMap3 (sampler2DShadow, units 1, 2, 3: depth textures with
//   GL_COMPARE_REF_TO_TEXTURE / GL_LEQUAL and GL_LINEAR, so one lookup filters 2 x 2 comparisons);
//   far_d (vec4: x, y, z = far view distances of cascades 1, 2, 3; w unused);
//   showFrustums (int: 1 tints each cascade red, green, blue).
//   Where GL_ARB_shading_language_420pack exists the samplers start on their units, so the program is valid
//   before the main pass first sets them.
// The cascade is chosen by the fragment's view depth against far_d; beyond far_d.z, and on surfaces that
// face away from the sun, nothing is looked up.
// Outputs: 0 colour (linear RGB, alpha 1; the composite pass applies gamma),
//          1 screen-space velocity (vec3: xy = half the NDC motion since the previous frame, z = 0).
//
// Cost: a software rasterizer (Mesa's llvmpipe) runs both sides of every branch for all fragments, so each
// shadow lookup written here is paid by every terrain and water fragment whichever cascade it is in.
// Hence one filtered lookup for the two far cascades and four only for the nearest, where shadows are
// largest on screen. A lighter picture builds the program with NEAR_SHADOW_LOOKUPS 1: one there too.

#ifndef NEAR_SHADOW_LOOKUPS
#define NEAR_SHADOW_LOOKUPS 4
#endif

in vec2 vUv;
in vec3 vPositionWorld;
in vec3 vPositionView;
in vec3 vNormalView;
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
uniform mat4 viewMatrix;
uniform vec3 LightPosition_worldspace;
uniform mat4 ShadowCoord1;
uniform mat4 ShadowCoord2;
uniform mat4 ShadowCoord3;
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

// The fragment in a cascade's shadow-map space (one transform per fragment, the chosen cascade's): xy on
// the map, z the depth to compare.
vec3 shadowPosition(mat4 shadowCoord) {
    vec4 p = shadowCoord * vec4(vPositionWorld, 1.0);
    return p.xyz / p.w;
}

bool outsideMap(vec3 p) {
    return p.x <= 0.0 || p.x >= 1.0 || p.y <= 0.0 || p.y >= 1.0 || p.z >= 1.0;
}

// Fraction of light reaching the fragment from one filtered lookup: the hardware compares the 2 x 2
// nearest texels and blends them, a soft edge one texel wide. Outside the map counts as lit.
// textureLod: no derivatives needed inside the cascade branches.
float litFraction(sampler2DShadow shadowMap, vec3 p, float bias) {
    float lit = textureLod(shadowMap, vec3(p.xy, p.z - bias), 0.0);
    return outsideMap(p) ? 1.0 : lit;
}

// Four filtered lookups three quarters of a texel off each diagonal: a tent about two and a half texels
// wide, as soft as the edge of a wider kernel at a fraction of its lookups.
float softLitFraction(sampler2DShadow shadowMap, vec3 p, float bias) {
    vec2 offset = 0.75 / vec2(textureSize(shadowMap, 0));
    float depth = p.z - bias;
    float lit = textureLod(shadowMap, vec3(p.x - offset.x, p.y - offset.y, depth), 0.0)
                + textureLod(shadowMap, vec3(p.x + offset.x, p.y - offset.y, depth), 0.0)
                + textureLod(shadowMap, vec3(p.x - offset.x, p.y + offset.y, depth), 0.0)
                + textureLod(shadowMap, vec3(p.x + offset.x, p.y + offset.y, depth), 0.0);
    return outsideMap(p) ? 1.0 : 0.25 * lit;
}

// x^16 and x^90 by repeated squaring: eleven products instead of two pow() calls, each a log and an
// exponential on a software rasterizer; the same values to rounding, and 0 at 0.
vec2 powers16And90(float x) {
    float x2 = x * x;
    float x8 = x2 * x2 * x2 * x2;
    float x16 = x8 * x8;
    float x64 = x16 * x16 * x16 * x16;
    return vec2(x16, x64 * x16 * x8 * x2);
}

vec3 cascadeTint(float depth) {
    if (depth < far_d.x) {
        return vec3(1.0, 0.35, 0.35);
    } else if (depth < far_d.y) {
        return vec3(0.35, 1.0, 0.35);
    } else if (depth < far_d.z) {
        return vec3(0.35, 0.35, 1.0);
    }
    return vec3(1.0);
}

void main() {
    vec3 albedo = pow(clamp(texture(myTextureSampler, vUv).rgb, 0.0, 1.0), vec3(2.2));

    vec3 toEye = normalize(-vPositionView);
    float normalLength = length(vNormalView);
    vec3 n = normalLength > 0.0 ? vNormalView / normalLength : toEye;
    vec3 lightView = (viewMatrix * vec4(LightPosition_worldspace, 1.0)).xyz;
    vec3 toLight = normalize(lightView - vPositionView);
    // World "up" in view space is the view's y column; the view is a rigid motion, so it is unit length.
    vec3 up = viewMatrix[1].xyz;
    float nDotL = dot(n, toLight);

    // Steeper slopes toward the light need a larger depth bias against shadow acne.
    float bias = 0.0005 + 0.0015 * (1.0 - clamp(nDotL, 0.0, 1.0));
    float depth = -vPositionView.z;
    float lit = 1.0;
    if (nDotL > 0.0 && depth < far_d.z) {
        mat4 toMap = depth < far_d.x ? ShadowCoord1 : (depth < far_d.y ? ShadowCoord2 : ShadowCoord3);
        vec3 p = shadowPosition(toMap);
        if (depth < far_d.x) {
#if NEAR_SHADOW_LOOKUPS == 1
            lit = litFraction(shadowMap1, p, bias);
#else
            lit = softLitFraction(shadowMap1, p, bias);
#endif
        } else if (depth < far_d.y) {
            lit = litFraction(shadowMap2, p, bias);
        } else {
            lit = litFraction(shadowMap3, p, bias);
        }
    }

    float sunFacing = step(0.0, nDotL);
    float diffuse = max(nDotL, 0.0) * lit;
    vec3 ambient = mix(kGroundFill, kSkyFill, 0.5 + 0.5 * dot(n, up));

    // Water: a flat, blue-dominated surface catches a sun glint; the rock and grass stay matte. Neither
    // highlight shows on a surface turned away from the sun.
    float blueness = smoothstep(0.02, 0.12, albedo.b - max(albedo.r, albedo.g));
    float flatness = smoothstep(0.97, 0.995, dot(n, up));
    vec3 halfway = normalize(toLight + toEye);
    float nDotH = max(dot(n, halfway), 0.0);
    vec2 sheenAndGlint = powers16And90(nDotH);
    float specular = (0.04 * sheenAndGlint.x + 1.5 * blueness * flatness * sheenAndGlint.y) * lit * sunFacing;

    vec3 color = albedo * (kSunColor * diffuse + ambient) + kSunColor * specular;
    if (showFrustums == 1) {
        color *= cascadeTint(depth);
    }
    color = mix(color, kFogColor, fogAmount(length(vPositionView)));

    fragColor = vec4(color, 1.0);
    fragVelocity = screenVelocity();
}
