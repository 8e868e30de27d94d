#include "scene/RingModelCache.h"

#include <map>
#include <mutex>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "scene/ImportCrashGuard.h"

namespace common::scene {

std::optional<std::vector<LayoutMesh>> RingModelCache::parts(const std::string& path, std::string& error) {
    static std::mutex mutex;
    static std::map<std::string, std::vector<LayoutMesh>> models;
    const std::lock_guard<std::mutex> lock(mutex);
    if (const auto known = models.find(path); known != models.end()) {
        return known->second;
    }
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    {
        ImportCrashGuard guard(path);
        scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
    }
    if (!scene) {
        error = importer.GetErrorString();
        return std::nullopt;
    }
    return models[path] = SceneLayout::readRingParts(*scene, path);
}

}  // namespace common::scene
