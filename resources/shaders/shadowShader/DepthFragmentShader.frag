#version 330 core
// Shadow depth program (ShadowDepthShader), fragment stage: writes nothing but depth (the shadow target
// has no colour buffer).

void main() {
}
