#include "gl/ShaderController.h"

#include <cstdio>
#include <utility>

#include <GL/glew.h>

#include "camera/CameraPersp.h"
#include "gl/GlslProgCompileExc.h"
#include "scene/Light.h"

namespace common::gl {
namespace {

struct ProgramFiles {
    ShaderType type;
    const char* vertexPath;
    const char* fragmentPath;
};

// In load order.
const ProgramFiles kPrograms[] = {
    {ShaderType::ColorShader, "../resources/shaders/colorShader/SimpleTransform.vert",
     "../resources/shaders/colorShader/SimpleColor.frag"},
    {ShaderType::ColorShaderRed, "../resources/shaders/colorShader/SimpleTransformRed.vert",
     "../resources/shaders/colorShader/SimpleColorRed.frag"},
    {ShaderType::LightShader, "../resources/shaders/lightShader/SimpleLightVertexShader.vert",
     "../resources/shaders/lightShader/SimpleLightFragmentShader.frag"},
    {ShaderType::TextureShader, "../resources/shaders/textureShader/DefaultVertexShader.vert",
     "../resources/shaders/textureShader/DefaultFragmentShader.frag"},
    {ShaderType::ShadowDepthShader, "../resources/shaders/shadowShader/DepthVertexShader.vert",
     "../resources/shaders/shadowShader/DepthFragmentShader.frag"},
    {ShaderType::ShadowShader, "../resources/shaders/shadowShader/ShadowVertexShader.vert",
     "../resources/shaders/shadowShader/ShadowFragmentShader.frag"},
    {ShaderType::BlurShader, "../resources/shaders/blurShader/BlurVertexShader.vert",
     "../resources/shaders/blurShader/BlurFragmentShader.frag"},
    {ShaderType::TransparentShader,
     "../resources/shaders/transparentShader/SimpleTransparentVertexShader.vert",
     "../resources/shaders/transparentShader/SimpleTransparentFragmentShader.frag"},
    {ShaderType::QuadShader, "../resources/shaders/quadShader/vertex.vert",
     "../resources/shaders/quadShader/fragment.frag"},
    {ShaderType::ShowVelocityMapShader, "../resources/shaders/showVelocityMapShader/vertex.vert",
     "../resources/shaders/showVelocityMapShader/fragment.frag"},
    {ShaderType::ArrowShader, "../resources/shaders/arrowShader/vertex.vert",
     "../resources/shaders/arrowShader/fragment.frag"},
};

ShaderController::DebugLog& sharedLog() {
    static ShaderController::DebugLog log = [](const std::string&) {};
    return log;
}

}  // namespace

ShaderController& ShaderController::instance() {
    static ShaderController* controller = new ShaderController(sharedLog());
    return *controller;
}

void ShaderController::setSharedLog(DebugLog log) {
    sharedLog() = std::move(log);
}

ShaderController::ShaderController(DebugLog debugLog) : log(std::move(debugLog)) {
    log("ShaderController created");
    for (const ProgramFiles& files : kPrograms) {
        load(files.vertexPath, files.fragmentPath, files.type);
    }
    firstFrame = true;
}

void ShaderController::load(const char* vertexPath, const char* fragmentPath, ShaderType type,
                            const std::string& defines) {
    std::unique_ptr<GlslProg> program;
    try {
        program = std::make_unique<GlslProg>(vertexPath, fragmentPath, defines);
    } catch (const GlslProgCompileExc& failure) {
        // The message carries its own line end where the driver's log or the open-failure text has one.
        std::fputs(failure.what(), stdout);
        return;
    }
    programs[type] = std::move(program);
    log("Loaded shader of typ " + typeName(type));
}

void ShaderController::setNearShadowLookups(int lookups) {
    if (lookups == nearShadowLookups) {
        return;
    }
    nearShadowLookups = lookups;
    programs.erase(ShaderType::ShadowShader);
    for (const ProgramFiles& files : kPrograms) {
        if (files.type == ShaderType::ShadowShader) {
            load(files.vertexPath, files.fragmentPath, files.type,
                 "#define NEAR_SHADOW_LOOKUPS " + std::to_string(lookups) + "\n");
        }
    }
}

GlslProg* ShaderController::getShader(ShaderType type) const {
    const auto found = programs.find(type);
    return found == programs.end() ? nullptr : found->second.get();
}

void ShaderController::updateCommonUniforms(const camera::CameraPersp& camera, const scene::Light& light,
                                            const glm::mat4& prevViewProjection) {
    frameView = camera.viewMatrix;
    for (const auto& [type, program] : programs) {
        program->bind();
        program->setUniform("projectionMatrix", camera.projectionMatrix);
        program->setUniform("viewMatrix", camera.viewMatrix);
        program->setUniform("prevVPMatrix", prevViewProjection);
        switch (type) {
            case ShaderType::ShadowShader:
            case ShaderType::LightShader:
                program->setUniform("LightPosition_worldspace", light.position);
                break;
            case ShaderType::ShadowDepthShader:
                // The depth program sees the scene from the light.
                program->setUniform("viewMatrix", light.camera.viewMatrix);
                break;
            case ShaderType::TransparentShader:
                // Later frames keep whatever the transparency switch has set since.
                if (firstFrame) {
                    glUniform1f(kOpacityLocation, kTransparentOpacity);
                    firstFrame = false;
                }
                break;
            default:
                break;
        }
        GlslProg::unbind();
    }
}

void ShaderController::setTransparentOpacity(float opacity) {
    if (GlslProg* program = getShader(ShaderType::TransparentShader)) {
        program->bind();
        glUniform1f(kOpacityLocation, opacity);
        GlslProg::unbind();
    }
}

std::string ShaderController::typeName(ShaderType type) {
    switch (type) {
        case ShaderType::ColorShaderRed:
            return "ColorShaderRed";
        case ShaderType::ColorShader:
            return "ColorShader";
        case ShaderType::LightShader:
            return "LightShader";
        case ShaderType::TextureShader:
            return "TextureShader";
        case ShaderType::ShadowShader:
            return "ShadowShader";
        case ShaderType::ShadowDepthShader:
            return "ShadowDepthShader";
        case ShaderType::TransparentShader:
            return "TransparentShader";
        case ShaderType::QuadShader:
            return "QuadShader";
        case ShaderType::BlurShader:
            return "BlurShader";
        case ShaderType::ShowVelocityMapShader:
            return "ShowVelocityMapShader";
        case ShaderType::ArrowShader:
            return "ArrowShader";
    }
    return "Unknown Typ";
}

}  // namespace common::gl
