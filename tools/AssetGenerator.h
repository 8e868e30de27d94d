#pragma once

#include <filesystem>

#include "tools/Image.h"
#include "tools/MeshData.h"

namespace common::assetgen {

struct CourseDesign;

// Writes every generated resource of the game under one resources folder: for every course the height
// image and the scene file with its textures, the course manifest, the ring model, the font atlas, the
// HUD pictures, the sounds and the desktop icon. Everything is made from fixed seeds, so two runs write
// the same bytes.

class AssetGenerator {
  public:
    explicit AssetGenerator(std::filesystem::path resourceDir) : resourceDir_(std::move(resourceDir)) {}

    // Throws std::runtime_error with a one-line reason when a file cannot be made.
    void run() const;

  private:
    struct SharedPictures {
        Image water;
        Image sky;
        Image craft;
        Image disc;
    };

    // Every course's scene, height image and textures, and the manifest that lists them.
    void writeWorld() const;
    // Returns the course's length, start through every ring to the finish.
    double writeCourse(const CourseDesign& design, const SharedPictures& shared) const;
    // The ring in full and light, the light one for rings that cover few pixels.
    void writeRingModel() const;
    void writeRingParts(const MeshData& arc, const std::filesystem::path& path) const;
    void writeHud() const;
    void writeSounds() const;

    std::filesystem::path resourceDir_;
};

}  // namespace common::assetgen
