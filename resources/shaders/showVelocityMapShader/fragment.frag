#version 330 core
// Velocity preview program (ShowVelocityMapShader), fragment stage: a false-colour view of the velocity
// texture on unit 0. The hue gives the direction of motion (right red, up yellow-green, left cyan, down
// blue-violet), the brightness its speed (full at 2.5 % of the screen per frame); still pixels are black.
// Inputs: uv.
// Uniforms: velocityTexture (sampler2D, unit 0: xy = half the NDC motion per frame).
// Outputs: 0 colour (RGB, alpha 1; drawn straight to the window).

in vec2 vUv;

uniform sampler2D velocityTexture;

layout(location = 0) out vec4 fragColor;

const float kFullSpeed = 0.025;

vec3 hueToRgb(float hue) {
    vec3 k = abs(fract(vec3(hue) + vec3(0.0, 2.0 / 3.0, 1.0 / 3.0)) * 6.0 - 3.0) - 1.0;
    return clamp(k, 0.0, 1.0);
}

void main() {
    vec2 velocity = texture(velocityTexture, vUv).xy;
    float speed = clamp(length(velocity) / kFullSpeed, 0.0, 1.0);
    float hue = speed > 0.0 ? atan(velocity.y, velocity.x) / 6.2831853 : 0.0;
    fragColor = vec4(hueToRgb(hue) * speed, 1.0);
}
