#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include <glm/glm.hpp>

#include "gl/GlslProg.h"
#include "gl/ShaderType.h"

namespace common::camera {
class CameraPersp;
}
namespace common::scene {
class Light;
}

namespace common::gl {

// Registry of the game's shader programs: builds one GlslProg per ShaderType from the files under
// "../resources/shaders/" when created, owns them, and gives every program the per-frame uniforms that
// all of them share. A program that fails to build is reported on the console and left out. Its own
// progress lines ("ShaderController created", "Loaded shader of typ ...") go to the debug log that its
// builder hands in.
class ShaderController {
  public:
    using DebugLog = std::function<void(const std::string&)>;

    // The transparent program's opacity is the float at this uniform location (set by location, not
    // by name): kTransparentOpacity while the discs are see-through, 1.0 when transparency is off.
    static constexpr int kOpacityLocation = 0;
    static constexpr float kTransparentOpacity = 0.3f;

    // The process-wide registry, created (and all programs built) on the first call; needs a GL context.
    // Never destroyed: its programs end with the context, after which no GL call may be made. Logs to
    // the sink given to setSharedLog before that first call, or nowhere.
    static ShaderController& instance();
    // The debug log of the process-wide registry. The first scene object or quad creates the registry,
    // deep inside start-up, so the application hands the log over before start-up begins.
    static void setSharedLog(DebugLog log);

    // Builds a registry of its own from the working directory's "../resources/shaders/", logging to
    // `debugLog`.
    explicit ShaderController(DebugLog debugLog);
    ShaderController(const ShaderController&) = delete;
    ShaderController& operator=(const ShaderController&) = delete;

    // The program of the type, or null when it is not registered (including value 8 and unknown values).
    GlslProg* getShader(ShaderType type) const;

    // The enumerator's name, or "Unknown Typ".
    static std::string typeName(ShaderType type);

    // Once per frame, after the camera has moved: gives every program the camera's projection and view and
    // the previous frame's view-projection (for the velocity output); the lit programs the light position;
    // the shadow depth program the light's view instead of the camera's; and, on the first update only,
    // the transparent program its starting opacity 0.3 (at uniform location 0). Leaves no program bound.
    void updateCommonUniforms(const camera::CameraPersp& camera, const scene::Light& light,
                              const glm::mat4& prevViewProjection);
    // The transparent program's opacity (by location); leaves no program bound.
    void setTransparentOpacity(float opacity);
    // The camera's view as of the last updateCommonUniforms: meshes need it for their normal matrix.
    const glm::mat4& frameViewMatrix() const { return frameView; }
    // Filtered shadow lookups per fragment in the nearest cascade: 4 (a soft edge, the default) or 1.
    // Builds the shadow program again when the count changes; a software rasterizer pays for every
    // lookup written in the program, whichever cascade a fragment is in.
    void setNearShadowLookups(int lookups);

  private:
    void load(const char* vertexPath, const char* fragmentPath, ShaderType type,
              const std::string& defines = {});

    DebugLog log;
    std::unordered_map<ShaderType, std::unique_ptr<GlslProg>> programs;
    glm::mat4 frameView{1.0f};
    bool firstFrame = true;
    int nearShadowLookups = 4;
};

}  // namespace common::gl
