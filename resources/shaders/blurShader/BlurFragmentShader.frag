#version 330 core
#extension GL_ARB_shading_language_420pack : enable
// Blur program (BlurShader), fragment stage: composites the scene target onto the window.
// With blurOn == 1 each pixel averages colour samples along its screen-space velocity scaled by
// velocityScale (the motion is limited to 5 % of the screen): blurTaps samples (five unless a quality
// preset asks for fewer) spread evenly along the smear, centred on the pixel; a smear shorter than one pixel leaves the pixel as it is. Samples nearer
// to the camera than the pixel itself are left out, so a sharp foreground (the craft) does not smear
// over the landscape behind it. With blurOn == 0 each pixel is copied.
// THIS is where gamma is applied: the scene programs write linear colour into the RGB32F target, and
// the result here is clamped to 0..1 and encoded with gamma 2.2 (c^(1/2.2)). Nothing drawn later (HUD,
// text, previews) is gamma-corrected again.
// Inputs: uv.
// Uniforms: colorTexture (unit 0), velocityTexture (unit 1: xy = half the NDC motion per frame),
//   depthTexture (unit 2) (sampler2D; where GL_ARB_shading_language_420pack exists they start on those
//   units); blurOn (int, 0 or 1); velocityScale (float, frame rate / 180); blurTaps (int, odd, >= 3).
// Outputs: 0 colour (gamma-encoded RGB, alpha 1).

in vec2 vUv;

#ifdef GL_ARB_shading_language_420pack
layout(binding = 0) uniform sampler2D colorTexture;
layout(binding = 1) uniform sampler2D velocityTexture;
layout(binding = 2) uniform sampler2D depthTexture;
#else
uniform sampler2D colorTexture;
uniform sampler2D velocityTexture;
uniform sampler2D depthTexture;
#endif
uniform int blurOn;
uniform float velocityScale;
uniform int blurTaps = 5;

layout(location = 0) out vec4 fragColor;

// blurTaps is odd, so that the middle tap is the pixel itself. Most pixels of a frame smear over a few
// pixels, which five taps cover about a pixel apart; a software rasterizer pays every tap on every pixel.
const float kMaxMotion = 0.05;
const float kDepthTolerance = 0.0002;

// Adds the colour at `at` unless that sample lies nearer to the camera than the pixel itself.
// textureLod: taken after the early return below, so no derivatives.
void addTap(vec2 at, float centreDepth, inout vec3 sum, inout float weight) {
    at = clamp(at, 0.0, 1.0);
    if (textureLod(depthTexture, at, 0.0).r >= centreDepth - kDepthTolerance) {
        sum += textureLod(colorTexture, at, 0.0).rgb;
        weight += 1.0;
    }
}

vec3 motionBlurred(vec3 centre) {
    vec2 motion = texture(velocityTexture, vUv).xy * velocityScale;
    float length2 = dot(motion, motion);
    if (length2 > kMaxMotion * kMaxMotion) {
        motion *= kMaxMotion / sqrt(length2);
    }
    // A smear shorter than one pixel would sample nothing but this pixel (NaN fails the test too).
    vec2 smearPixels = motion * vec2(textureSize(colorTexture, 0));
    if (!(dot(smearPixels, smearPixels) >= 1.0)) {
        return centre;
    }
    float centreDepth = textureLod(depthTexture, vUv, 0.0).r;
    vec3 sum = centre;
    float weight = 1.0;
    for (int i = 1; i <= blurTaps / 2; ++i) {
        vec2 offset = motion * (float(i) / float(blurTaps - 1));
        addTap(vUv - offset, centreDepth, sum, weight);
        addTap(vUv + offset, centreDepth, sum, weight);
    }
    return sum / weight;
}

void main() {
    vec3 color = texture(colorTexture, vUv).rgb;
    if (blurOn == 1) {
        color = motionBlurred(color);
    }
    fragColor = vec4(pow(clamp(color, 0.0, 1.0), vec3(1.0 / 2.2)), 1.0);
}
