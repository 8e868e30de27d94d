#pragma once

#include <filesystem>

namespace common::assetgen {

// Writes every generated resource of the game under one resources folder: the height image, the
// scene file with its textures, the ring model, the font atlas, the HUD pictures, the sounds and the
// desktop icon. Everything is made from fixed seeds, so two runs write the same bytes.
class AssetGenerator {
  public:
    explicit AssetGenerator(std::filesystem::path resourceDir) : resourceDir_(std::move(resourceDir)) {}

    // Throws std::runtime_error with a one-line reason when a file cannot be made.
    void run() const;

  private:
    void writeWorld() const;
    void writeRingModel() const;
    void writeHud() const;
    void writeSounds() const;
    // courses/manifest.json: each course's name, scene and height image (relative to the resources
    // folder) and the length of its flown line.
    void writeCourseManifest() const;

    std::filesystem::path resourceDir_;
};

}  // namespace common::assetgen
