#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

#include <nlohmann/json_fwd.hpp>

#include "progress/GhostTrack.h"

namespace common::progress {

// A ghost track as JSON, the same in the records and in the par flights the build ships:
//   [[time, x, y, z, qw, qx, qy, qz], ...]
// one sample a row, on the race clock. GL-free.
class GhostFile {
  public:
    // An hour at GhostTrack's sample rate: longer is not a run of this game.
    static constexpr std::size_t kMaxSamples = 30 * 3600;

    static nlohmann::json toJson(const GhostTrack& ghost);
    // None when the value is not such a list, too long, or not a valid track (GhostTrack::valid).
    static std::optional<GhostTrack> fromJson(const nlohmann::json& value);

    // A file holding one track; none when it cannot be read or is not a track.
    static std::optional<GhostTrack> read(const std::filesystem::path& file);
    // Replaces the file atomically (AtomicFile); throws std::runtime_error when it cannot.
    static void write(const std::filesystem::path& file, const GhostTrack& ghost);
};

}  // namespace common::progress
