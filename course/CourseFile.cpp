#include "course/CourseFile.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include <nlohmann/json.hpp>

namespace common::course {

// Ordered, so a rewritten file keeps the player's order of keys.
struct CourseFile::Document {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
};

namespace {

using Json = nlohmann::ordered_json;

std::string ringLabel(std::size_t index) {
    return "ring " + std::to_string(index + 1) + ": ";
}

// Three finite numbers, or nothing (the caller says what was wrong).
std::optional<glm::dvec3> vectorOf(const Json& value) {
    if (!value.is_array() || value.size() != 3) {
        return std::nullopt;
    }
    glm::dvec3 vector;
    for (int i = 0; i < 3; ++i) {
        if (!value[i].is_number() || !std::isfinite(value[i].get<double>())) {
            return std::nullopt;
        }
        vector[i] = value[i].get<double>();
    }
    return vector;
}

Json arrayOf(const glm::dvec3& vector) {
    return Json::array({vector.x, vector.y, vector.z});
}

// Reads `key` of `object` as a vector into `into`; a missing key leaves `into` as it is when
// `optional`. Returns the problem, empty when there is none.
std::string readVector(const Json& object, const char* key, bool optional, glm::dvec3& into) {
    const auto found = object.find(key);
    if (found == object.end()) {
        return optional ? "" : std::string("no \"") + key + "\"";
    }
    const std::optional<glm::dvec3> vector = vectorOf(*found);
    if (!vector) {
        return std::string("\"") + key + "\" is not a list of three finite numbers";
    }
    into = *vector;
    return "";
}

void hashBytes(std::uint64_t& hash, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ULL;  // FNV-1a
    }
}

void hashVector(std::uint64_t& hash, const glm::dvec3& vector) {
    for (int i = 0; i < 3; ++i) {
        const double value = vector[i] == 0.0 ? 0.0 : vector[i];  // -0 and 0 are the same place
        hashBytes(hash, &value, sizeof value);
    }
}

// Whether text[from, to) holds only numbers, commas and white space.
bool onlyNumbers(const std::string& text, std::size_t from, std::size_t to) {
    return text.find_first_not_of("0123456789.eE+-, \n", from) >= to;
}

// "1.0,\n  2.0\n" as "1.0, 2.0".
std::string joinedNumbers(const std::string& numbers) {
    std::string joined;
    std::istringstream items(numbers);
    for (std::string item; std::getline(items, item, ',');) {
        const std::size_t first = item.find_first_not_of(" \n");
        const std::size_t last = item.find_last_not_of(" \n");
        if (first == std::string::npos) {
            continue;
        }
        joined += (joined.empty() ? "" : ", ") + item.substr(first, last - first + 1);
    }
    return joined;
}

// "[\n  1.0,\n  2.0\n]" as "[1.0, 2.0]", so a position reads as one line. Only lists spread over lines
// by the dump: a text value never holds a raw line break, so no text is touched.
std::string numbersOnOneLine(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const bool spreadList = text.compare(at, 2, "[\n") == 0;
        const std::size_t close = spreadList ? text.find(']', at) : std::string::npos;
        if (close != std::string::npos && onlyNumbers(text, at + 1, close)) {
            result += "[" + joinedNumbers(text.substr(at + 1, close - at - 1)) + "]";
            at = close + 1;
        } else {
            result += text[at++];
        }
    }
    return result;
}

// Unit length whatever the size of the numbers: very large or very small ones would overflow or
// vanish when squared.
glm::dvec3 unit(const glm::dvec3& vector) {
    const double largest = std::max({std::abs(vector.x), std::abs(vector.y), std::abs(vector.z)});
    return glm::normalize(vector / largest);
}

// The ring's frame: y along the course, x level (any level axis for a vertical ring), z completing it.
glm::mat4 frameAlong(const glm::dvec3& direction, const glm::dvec3& position, double scale) {
    const glm::dvec3 axisY = unit(direction);
    glm::dvec3 axisX = glm::cross(axisY, glm::dvec3(0.0, 1.0, 0.0));
    axisX = glm::length(axisX) > 1e-9 ? glm::normalize(axisX) : glm::dvec3(1.0, 0.0, 0.0);
    const glm::dvec3 axisZ = glm::cross(axisX, axisY);
    glm::dmat4 transform(1.0);
    transform[0] = glm::dvec4(axisX * scale, 0.0);
    transform[1] = glm::dvec4(axisY * scale, 0.0);
    transform[2] = glm::dvec4(axisZ * scale, 0.0);
    transform[3] = glm::dvec4(position, 1.0);
    return glm::mat4(transform);
}

}  // namespace

CourseFile::CourseFile() : document_(std::make_shared<Document>()) {}

CourseFile CourseFile::parse(const std::string& text) {
    CourseFile course;
    Json parsed = Json::parse(text, nullptr, false);
    if (parsed.is_discarded()) {
        course.problem("not JSON");
        return course;
    }
    if (!parsed.is_object()) {
        course.problem("not a JSON object");
        return course;
    }
    course.document_->json = std::move(parsed);
    course.readDocument();
    return course;
}

CourseFile CourseFile::readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        CourseFile course;
        course.problem(std::string("cannot be read: ") + std::strerror(errno));
        return course;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

void CourseFile::readDocument() {
    const Json& json = document_->json;
    const auto format = json.find("format");
    if (format == json.end() || !format->is_string() || format->get<std::string>() != kFormat) {
        problem(std::string("\"format\" is not \"") + kFormat + "\"");
        return;
    }
    const auto version = json.find("version");
    if (version == json.end() || !version->is_number_integer() || version->get<long long>() != kVersion) {
        problem("\"version\" is not " + std::to_string(kVersion));
        return;
    }
    const auto nameValue = json.find("name");
    if (nameValue == json.end() || !nameValue->is_string()) {
        problem("\"name\" is not text");
    } else {
        name = nameValue->get<std::string>();
        if (!validName(name)) {
            problem("\"name\" must be 1-" + std::to_string(kMaxNameLength) +
                    " letters, digits, spaces, '-' or '_'");
        }
    }
    const auto islandValue = json.find("island");
    if (islandValue == json.end() || !islandValue->is_string()) {
        problem("\"island\" is not text");
    } else {
        island = islandValue->get<std::string>();
    }
    readStart();
    readRings();
}

void CourseFile::readStart() {
    const Json& json = document_->json;
    const auto start = json.find("start");
    if (start == json.end() || !start->is_object()) {
        problem("\"start\" is not an object with a \"position\"");
        return;
    }
    for (const std::string& line : {readVector(*start, "position", false, startPosition),
                                    readVector(*start, "direction", true, startDirection)}) {
        if (!line.empty()) {
            problem("start: " + line);
        }
    }
    if (glm::length(glm::dvec2(startDirection.x, startDirection.z)) == 0.0) {
        problem("start: \"direction\" has no horizontal part");
    }
}

void CourseFile::readRings() {
    const Json& json = document_->json;
    const auto list = json.find("rings");
    if (list == json.end() || !list->is_array()) {
        problem("\"rings\" is not a list");
        return;
    }
    if (list->empty()) {
        problem("no rings");
        return;
    }
    if (list->size() > kMaxRings) {
        problem(std::to_string(list->size()) + " rings, more than " + std::to_string(kMaxRings));
        return;
    }
    for (std::size_t i = 0; i < list->size(); ++i) {
        const Json& entry = (*list)[i];
        Ring ring;
        if (!entry.is_object()) {
            problem(ringLabel(i) + "not an object");
            rings.push_back(ring);
            continue;
        }
        for (const std::string& line : {readVector(entry, "position", false, ring.position),
                                        readVector(entry, "direction", false, ring.direction)}) {
            if (!line.empty()) {
                problem(ringLabel(i) + line);
            }
        }
        if (ring.direction == glm::dvec3(0.0)) {
            problem(ringLabel(i) + "\"direction\" is zero");
        }
        const auto finish = entry.find("finish");
        if (finish != entry.end() && !finish->is_boolean()) {
            problem(ringLabel(i) + "\"finish\" is not true or false");
        }
        ring.finish = finish != entry.end() && finish->is_boolean() && finish->get<bool>();
        rings.push_back(ring);
    }
    readFinish();
}

void CourseFile::readFinish() {
    std::size_t finishes = 0;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        if (rings[i].finish && ++finishes > 1) {
            problem(ringLabel(i) + "a second finish ring");
        }
    }
    if (finishes == 0) {
        problem("no finish ring (the last ring needs \"finish\": true)");
    } else if (!rings.back().finish) {
        for (std::size_t i = 0; i < rings.size(); ++i) {
            if (rings[i].finish) {
                problem(ringLabel(i) + "the finish ring is not the last");
                break;
            }
        }
    }
}

CourseFile CourseFile::fromRace(const std::string& name, const std::string& island,
                                const scene::RaceCourse& race) {
    CourseFile course;
    course.name = name;
    course.island = island;
    course.startPosition = glm::dvec3(race.start[3]);
    course.startDirection = glm::dvec3(race.start[2]);
    for (const scene::RaceCourse::Ring& ring : race.rings) {
        course.rings.push_back(
            {glm::dvec3(ring.transform[3]), glm::normalize(glm::dvec3(ring.transform[1])), ring.finish});
    }
    return course;
}

bool CourseFile::validName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength) {
        return false;
    }
    for (const char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == ' ' || c == '-' || c == '_';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

std::string CourseFile::text() const {
    Json json = document_->json;
    json["format"] = kFormat;
    json["version"] = kVersion;
    json["name"] = name;
    json["island"] = island;
    if (!json.contains("start") || !json["start"].is_object()) {
        json["start"] = Json::object();
    }
    json["start"]["position"] = arrayOf(startPosition);
    json["start"]["direction"] = arrayOf(startDirection);
    Json list = Json::array();
    const Json* old = json.contains("rings") && json["rings"].is_array() ? &json["rings"] : nullptr;
    for (std::size_t i = 0; i < rings.size(); ++i) {
        // A ring keeps the keys it had at the same place in the list.
        Json entry = old && i < old->size() && (*old)[i].is_object() ? (*old)[i] : Json::object();
        entry["position"] = arrayOf(rings[i].position);
        entry["direction"] = arrayOf(rings[i].direction);
        if (rings[i].finish) {
            entry["finish"] = true;
        } else {
            entry.erase("finish");
        }
        list.push_back(std::move(entry));
    }
    json["rings"] = std::move(list);
    return numbersOnOneLine(json.dump(2)) + "\n";
}

glm::mat4 CourseFile::startTransform() const {
    const glm::dvec3 heading = unit(glm::dvec3(startDirection.x, 0.0, startDirection.z));
    glm::dmat4 transform(1.0);
    transform[0] = glm::dvec4(glm::cross(glm::dvec3(0.0, 1.0, 0.0), heading), 0.0);
    transform[2] = glm::dvec4(heading, 0.0);
    transform[3] = glm::dvec4(startPosition, 1.0);
    return glm::mat4(transform);
}

glm::mat4 CourseFile::ringTransform(std::size_t index) const {
    const Ring& ring = rings.at(index);
    return frameAlong(ring.direction, ring.position, ring.finish ? kFinishScale : kRingScale);
}

scene::RaceCourse CourseFile::raceCourse() const {
    scene::RaceCourse course;
    course.start = startTransform();
    for (std::size_t i = 0; i < rings.size(); ++i) {
        course.rings.push_back({ringTransform(i), rings[i].finish});
    }
    return course;
}

double CourseFile::length() const {
    double total = 0.0;
    glm::dvec3 from = startPosition;
    for (const Ring& ring : rings) {
        total += glm::length(ring.position - from);
        from = ring.position;
    }
    return total;
}

std::string CourseFile::recordKey() const {
    std::uint64_t hash = 14695981039346656037ULL;
    hashVector(hash, startPosition);
    hashVector(hash, startDirection);
    for (const Ring& ring : rings) {
        hashVector(hash, ring.position);
        hashVector(hash, ring.direction);
        hashBytes(hash, &ring.finish, sizeof ring.finish);
    }
    char key[24];
    std::snprintf(key, sizeof key, "%016" PRIx64, hash);
    return name + "#" + key;
}

}  // namespace common::course
