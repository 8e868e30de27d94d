// A course file as a player may write it by hand: any bytes at all. The reader must never throw or
// crash, and a file it takes must come back the same from its own rewrite, with finite transforms.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "course/CourseFile.h"

namespace {

bool finite(const glm::mat4& matrix) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            if (!std::isfinite(matrix[c][r])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using common::course::CourseFile;
    const CourseFile course = CourseFile::parse(std::string(reinterpret_cast<const char*>(data), size));
    if (!course.problems().empty()) {
        return 0;
    }
    const CourseFile again = CourseFile::parse(course.text());
    if (!again.problems().empty() || again.recordKey() != course.recordKey() ||
        again.rings.size() != course.rings.size() || !course.rings.back().finish) {
        std::abort();
    }
    const common::scene::RaceCourse race = course.raceCourse();
    if (!finite(race.start) || race.rings.size() != course.rings.size()) {
        std::abort();
    }
    for (const auto& ring : race.rings) {
        if (!finite(ring.transform)) {
            std::abort();
        }
    }
    return 0;
}
