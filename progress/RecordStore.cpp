#include "progress/RecordStore.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include <nlohmann/json.hpp>

#include "progress/AtomicFile.h"
#include "progress/FileLock.h"
#include "progress/PlayerFile.h"
#include "progress/GhostFile.h"

namespace common::progress {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

bool isTime(const json& value, double limit) {
    return value.is_number() && std::isfinite(value.get<double>()) && value.get<double>() >= 0.0 &&
           value.get<double>() <= limit;
}

// [[ring, time], ...] with rings in course range and times that never go back.
std::optional<std::vector<Split>> readSplits(const json& value, double bestTime) {
    if (!value.is_array()) {
        return std::nullopt;
    }
    std::vector<Split> splits;
    for (const json& entry : value) {
        if (!entry.is_array() || entry.size() != 2 || !entry[0].is_number_integer() ||
            entry[0].get<long long>() < 0 || entry[0].get<long long>() > 100000 ||
            !isTime(entry[1], bestTime) || (!splits.empty() && entry[1].get<double>() < splits.back().time)) {
            return std::nullopt;
        }
        splits.push_back({entry[0].get<int>(), entry[1].get<double>()});
    }
    return splits;
}

json splitsJson(const std::vector<Split>& splits) {
    json list = json::array();
    for (const Split& split : splits) {
        list.push_back({split.ring, split.time});
    }
    return list;
}

}  // namespace

fs::path RecordStore::pathFor(const char* xdgDataHome, const char* home) {
    fs::path base;
    if (xdgDataHome && *xdgDataHome) {
        base = xdgDataHome;
    } else if (home && *home) {
        base = fs::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return base / "skyrings" / "records.json";
}

fs::path RecordStore::defaultPath() {
    return pathFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

RecordStore::RecordStore(fs::path file, Warning warning)
    : file_(std::move(file)),
      warning_(std::move(warning)),
      document_(std::make_unique<json>(json::object())) {}

RecordStore::~RecordStore() = default;
RecordStore::RecordStore(RecordStore&&) noexcept = default;
RecordStore& RecordStore::operator=(RecordStore&&) noexcept = default;

void RecordStore::problem(const std::string& what) {
    problems_.push_back(what);
}

void RecordStore::load() {
    reported_.clear();
    read();
}

// Each set of problems is told once: a save that finds the file as bad as it was read stays quiet.
void RecordStore::read() {
    *document_ = json::object();
    courses_.clear();
    problems_.clear();
    if (file_.empty()) {
        return;
    }
    readDocument();
    readCourses();
    if (!problems_.empty() && problems_ != reported_) {
        warning_(PlayerFile::problemLine("Records", file_, problems_) + "; playing on without what is bad");
        reported_ = problems_;
    }
}

void RecordStore::readDocument() {
    std::optional<json> parsed = PlayerFile::readObject(file_, problems_);
    if (!parsed) {
        return;
    }
    const auto version = parsed->find("version");
    if (version == parsed->end() || !version->is_number_integer() || version->get<long long>() < 1) {
        problem("no usable version");
    }
    *document_ = std::move(*parsed);
}

// Keeps what is usable of each course; what is not is reported and dropped from the document, so
// that a rewrite leaves only good data (the original goes aside).
void RecordStore::readCourses() {
    json& document = *document_;
    if (!document.contains("courses")) {
        return;
    }
    if (!document["courses"].is_object()) {
        problem("\"courses\" is not an object");
        document["courses"] = json::object();
        return;
    }
    json& courses = document["courses"];
    for (auto entry = courses.begin(); entry != courses.end();) {
        json& value = entry.value();
        const std::string name = entry.key();
        if (!value.is_object() || !value.contains("bestTime") || !isTime(value["bestTime"], kMaxTime) ||
            value["bestTime"].get<double>() <= 0.0) {
            problem("course \"" + name + "\" has no usable best time");
            entry = courses.erase(entry);
            continue;
        }
        CourseRecord record;
        record.bestTime = value["bestTime"].get<double>();
        if (value.contains("bestScore")) {
            const json& score = value["bestScore"];
            if (score.is_number_integer() && score.get<long long>() >= 0 &&
                score.get<long long>() <= kMaxScore) {
                record.bestScore = score.get<std::int32_t>();
            } else {
                problem("course \"" + name + "\" has a bad best score");
                value.erase("bestScore");
            }
        }
        if (value.contains("splits")) {
            if (auto splits = readSplits(value["splits"], record.bestTime)) {
                record.splits = std::move(*splits);
            } else {
                problem("course \"" + name + "\" has bad splits");
                value.erase("splits");
            }
        }
        if (value.contains("ghost")) {
            if (auto ghost = GhostFile::fromJson(value["ghost"])) {
                record.ghost = std::move(*ghost);
            } else {
                problem("course \"" + name + "\" has a bad ghost");
                value.erase("ghost");
            }
        }
        if (value.contains("date") && value["date"].is_string()) {
            record.date = value["date"].get<std::string>();
        }
        courses_[name] = std::move(record);
        ++entry;
    }
}

std::optional<CourseRecord> RecordStore::course(const std::string& name) const {
    const auto found = courses_.find(name);
    if (found == courses_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool RecordStore::setBadFileAside() {
    if (const std::optional<std::string> failure = PlayerFile::keepBadFileAside(file_)) {
        warning_("Records: cannot keep the bad " + file_.string() + " aside (" + *failure +
                 "); the new record is not written");
        return false;
    }
    return true;
}

bool RecordStore::save(const std::string& name, const CourseRecord& record) {
    if (file_.empty()) {
        courses_[name] = record;
        return false;
    }
    std::error_code error;
    fs::create_directories(file_.parent_path(), error);
    if (error) {
        courses_[name] = record;
        warning_("Records: cannot make the folder " + file_.parent_path().string() + " (" + error.message() +
                 "); the record is kept for this session only");
        return false;
    }
    try {
        fs::path lockFile = file_;
        lockFile += ".lock";
        const FileLock lock(lockFile);
        // Another game may have written since the file was read: its records are kept, and of the
        // course's two runs the faster one.
        read();
        const auto stored = courses_.find(name);
        if (stored != courses_.end() && stored->second.bestTime <= record.bestTime) {
            return true;
        }
        courses_[name] = record;
        return write(name, record);
    } catch (const std::exception& failure) {
        courses_[name] = record;
        warning_(std::string("Records: ") + failure.what() + "; the record is kept for this session only");
        return false;
    }
}

// Under the lock: puts `record` into the document as read and replaces the file with it.
bool RecordStore::write(const std::string& name, const CourseRecord& record) {
    json& document = *document_;
    if (!document.is_object()) {
        document = json::object();
    }
    document["version"] = kVersion;
    if (!document.contains("courses") || !document["courses"].is_object()) {
        document["courses"] = json::object();
    }
    json& course = document["courses"][name];
    if (!course.is_object()) {
        course = json::object();
    }
    course["bestTime"] = record.bestTime;
    course["bestScore"] = record.bestScore;
    course["splits"] = splitsJson(record.splits);
    course["ghost"] = GhostFile::toJson(record.ghost);
    if (!record.date.empty()) {
        course["date"] = record.date;
    }
    return replaceFile();
}

bool RecordStore::replaceFile() {
    if (!problems_.empty() && !setBadFileAside()) {
        return false;
    }
    AtomicFile::removeTemporaries(file_);
    AtomicFile::write(file_, document_->dump());
    problems_.clear();
    reported_.clear();
    return true;
}

bool RecordStore::remove(const std::string& name) {
    courses_.erase(name);
    if (file_.empty()) {
        return false;
    }
    try {
        fs::path lockFile = file_;
        lockFile += ".lock";
        const FileLock lock(lockFile);
        read();
        if (courses_.erase(name) == 0) {
            return true;
        }
        (*document_)["courses"].erase(name);
        return replaceFile();
    } catch (const std::exception& failure) {
        warning_(std::string("Records: ") + failure.what() + "; the record is not deleted");
        return false;
    }
}

}  // namespace common::progress
