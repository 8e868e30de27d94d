#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "progress/CourseRecord.h"

namespace common::progress {

// The player's records, one JSON file for every course:
//   {"version": 1, "courses": {"<name>": {"bestTime": s, "bestScore": n,
//     "splits": [[ring, s], ...], "ghost": [[s, x, y, z, qw, qx, qy, qz], ...]}}}
// Fields it does not know are kept when the file is rewritten. A bad file never costs the game: what
// cannot be used (not JSON, wrong types, values out of range, a broken ghost, a folder in the file's
// place) is reported in one warning and treated as absent, and the bad file is kept aside as
// "records.json.bad" before a new record replaces it. Writes are atomic (AtomicFile) and made under a
// lock ("records.json.lock" beside the file, FileLock), so that two games running at once merge their
// records instead of overwriting each other's.
class RecordStore {
  public:
    static constexpr int kVersion = 1;
    // Anything beyond a day or a million points is not a run of this game.
    static constexpr double kMaxTime = 24.0 * 3600.0;
    static constexpr std::int32_t kMaxScore = 1000000;

    using Warning = std::function<void(const std::string&)>;

    // $XDG_DATA_HOME/skyrings/records.json, or ~/.local/share/skyrings/records.json when the variable
    // is unset or empty; empty when there is no home either (records are then not kept).
    static std::filesystem::path pathFor(const char* xdgDataHome, const char* home);
    static std::filesystem::path defaultPath();

    RecordStore(std::filesystem::path file, Warning warning);
    ~RecordStore();
    RecordStore(RecordStore&&) noexcept;
    RecordStore& operator=(RecordStore&&) noexcept;

    // (Re)reads the file, with one warning when it is bad. A missing file is no records and no warning.
    void load();
    std::optional<CourseRecord> course(const std::string& name) const;
    // Offers `record` as the course's best. Under the lock the file is read again (what another game
    // wrote since counts) and the faster of its run and `record` is kept, a tie going to the file's;
    // when `record` wins the file is rewritten with every other course as it is there. The folder is
    // made when missing. course() then tells which run won. False, with one warning, when it cannot
    // be written: the record is then kept for this session only.
    bool save(const std::string& name, const CourseRecord& record);
    // Forgets the course's record, in the file too (under the lock, every other course kept). False,
    // with one warning, when the file cannot be rewritten.
    bool remove(const std::string& name);

    const std::filesystem::path& path() const { return file_; }

  private:
    void read();
    void readDocument();
    void readCourses();
    bool write(const std::string& name, const CourseRecord& record);
    bool replaceFile();
    bool setBadFileAside();
    void problem(const std::string& what);

    std::filesystem::path file_;
    Warning warning_;
    std::unique_ptr<nlohmann::json> document_;
    std::map<std::string, CourseRecord> courses_;
    // What was wrong with the file as read; it is set aside before it is replaced.
    std::vector<std::string> problems_;
    // The problems last warned about.
    std::vector<std::string> reported_;
};

}  // namespace common::progress
