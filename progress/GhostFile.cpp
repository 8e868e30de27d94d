#include "progress/GhostFile.h"

#include <cmath>
#include <fstream>

#include <nlohmann/json.hpp>

#include "progress/AtomicFile.h"

namespace common::progress {

using nlohmann::json;

json GhostFile::toJson(const GhostTrack& ghost) {
    json list = json::array();
    for (const GhostSample& s : ghost.samples()) {
        const glm::quat& q = s.orientation;
        list.push_back({s.time, s.position.x, s.position.y, s.position.z, q.w, q.x, q.y, q.z});
    }
    return list;
}

std::optional<GhostTrack> GhostFile::fromJson(const json& value) {
    if (!value.is_array() || value.size() > kMaxSamples) {
        return std::nullopt;
    }
    std::vector<GhostSample> samples;
    samples.reserve(value.size());
    for (const json& entry : value) {
        if (!entry.is_array() || entry.size() != 8) {
            return std::nullopt;
        }
        double v[8];
        for (std::size_t i = 0; i < 8; ++i) {
            // Beyond float range the craft's pose would not be finite (and the conversion undefined).
            if (!entry[i].is_number() || !(std::abs(entry[i].get<double>()) <= 1e30)) {
                return std::nullopt;
            }
            v[i] = entry[i].get<double>();
        }
        samples.push_back({v[0], glm::vec3(v[1], v[2], v[3]),
                           glm::quat(static_cast<float>(v[4]), static_cast<float>(v[5]),
                                     static_cast<float>(v[6]), static_cast<float>(v[7]))});
    }
    if (!GhostTrack::valid(samples)) {
        return std::nullopt;
    }
    return GhostTrack(std::move(samples));
}

std::optional<GhostTrack> GhostFile::read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        return std::nullopt;
    }
    const json parsed = json::parse(in, nullptr, false);
    if (parsed.is_discarded()) {
        return std::nullopt;
    }
    return fromJson(parsed);
}

void GhostFile::write(const std::filesystem::path& file, const GhostTrack& ghost) {
    AtomicFile::write(file, toJson(ghost).dump() + "\n");
}

}  // namespace common::progress
