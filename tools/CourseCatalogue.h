#pragma once

#include <string>
#include <vector>

#include "tools/Course.h"
#include "tools/Landscape.h"

namespace common::assetgen {

// Everything the generator needs to make one course: its route, its island and where its files go
// (paths relative to the resources folder; the textures lie beside the scene file).
struct CourseDesign {
    std::string name;
    CourseRoute route;
    IslandShape island;
    std::string sceneFolder;
    std::string sceneFile;
    std::string heightMapPath;
    int terrainTextureSize = 2048;
};

// The courses the game offers, in the order it lists them; the first is the default.
class CourseCatalogue {
  public:
    static std::vector<CourseDesign> designs();
};

}  // namespace common::assetgen
