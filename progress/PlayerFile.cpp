#include "progress/PlayerFile.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

namespace common::progress {

namespace fs = std::filesystem;

std::optional<nlohmann::json> PlayerFile::readObject(const fs::path& file,
                                                     std::vector<std::string>& problems) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) {
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        problems.emplace_back("a folder stands where the file should be");
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in || in.bad()) {
        problems.emplace_back("cannot be read");
        return std::nullopt;
    }
    nlohmann::json parsed = nlohmann::json::parse(text.str(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        problems.emplace_back("not a JSON object");
        return std::nullopt;
    }
    return parsed;
}

std::string PlayerFile::problemLine(const std::string& subject, const fs::path& file,
                                    const std::vector<std::string>& problems) {
    std::string line = subject + ": " + file.string() + ": " + (problems.empty() ? "" : problems.front());
    if (problems.size() > 1) {
        line += " (and " + std::to_string(problems.size() - 1) + " more)";
    }
    return line;
}

std::optional<std::string> PlayerFile::keepBadFileAside(const fs::path& file) {
    fs::path aside = file;
    aside += ".bad";
    std::error_code error;
    fs::remove_all(aside, error);
    if (fs::is_regular_file(file, error) && fs::copy_file(file, aside, error)) {
        return std::nullopt;
    }
    error.clear();
    fs::rename(file, aside, error);
    if (error && fs::exists(file)) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace common::progress
