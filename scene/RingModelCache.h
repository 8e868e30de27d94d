#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scene/SceneLayout.h"

namespace common::scene {

// The ring model's parts read once per file and process: every ring of every course shows the same
// model, and parsing it again for each ring cost start-up about as much as the rest of the scene.
// Safe to call from several threads. A file that cannot be read is not remembered, so each ring
// reports it as before.
class RingModelCache {
  public:
    // The parts of the model at `path` ("part0" ... in walk order), or nothing with `error` set to
    // what the importer said.
    static std::optional<std::vector<LayoutMesh>> parts(const std::string& path, std::string& error);
};

}  // namespace common::scene
