#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace common::progress {

// What the player's JSON files (records, settings) share: each is one JSON object, a bad one costs
// one warning and is kept aside as "<file>.bad" before a save replaces it. GL-free.
class PlayerFile {
  public:
    // The file's object; none when there is no file, or when it is a folder, cannot be read or holds
    // no JSON object (the reason is added to `problems`).
    static std::optional<nlohmann::json> readObject(const std::filesystem::path& file,
                                                    std::vector<std::string>& problems);
    // "<subject>: <file>: <first problem> (and N more)", the warning's start.
    static std::string problemLine(const std::string& subject, const std::filesystem::path& file,
                                   const std::vector<std::string>& problems);
    // Keeps the bad file as "<file>.bad": a copy leaves it readable in place until the new one
    // replaces it; what cannot be copied (a folder) is moved aside. The reason when neither works.
    static std::optional<std::string> keepBadFileAside(const std::filesystem::path& file);
};

}  // namespace common::progress
