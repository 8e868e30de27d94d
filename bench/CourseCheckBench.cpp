// Time to check a course file: every shipped course written out as a player's course file, then read
// and checked as `--check-course` does (the reader, the placement on the island, the autopilot's
// flight). The shipped courses must all pass. With a folder argument the files are left there.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CourseCatalogue.h"
#include "bench/BenchSupport.h"
#include "course/CourseFile.h"
#include "course/PlayerCourses.h"
#include "scene/SceneLayout.h"

namespace fs = std::filesystem;
using common::course::CourseFile;

int main(int argc, char** argv) {
    bench::enterRunDirectory();
    const fs::path folder =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "skyrings-course-bench";
    fs::create_directories(folder);
    const common::app::CourseCatalogue catalogue = common::app::CourseCatalogue::load();
    std::printf("| course file | rings | check (ms) | par (s) |\n|---|---|---|---|\n");
    int failures = 0;
    for (const common::scene::CourseInfo& shipped : catalogue.courses()) {
        const CourseFile course =
            CourseFile::fromRace("my " + shipped.name, shipped.name,
                                 common::scene::SceneLayout::readRaceCourse(shipped.scenePath));
        const fs::path file = folder / (shipped.name + ".json");
        std::ofstream(file) << course.text();
        const double start = bench::nowSeconds();
        const auto loaded = common::course::PlayerCourses::load(file, catalogue);
        const double ms = bench::millisecondsSince(start);
        for (const std::string& problem : loaded.problems) {
            std::fprintf(stderr, "%s\n", problem.c_str());
            ++failures;
        }
        std::printf("| %s | %zu | %.0f | %.2f |\n", file.filename().c_str(), course.rings.size(), ms,
                    loaded.course ? loaded.course->par : 0.0);
    }
    if (argc <= 1) {
        fs::remove_all(folder);
    }
    return failures == 0 ? 0 : 1;
}
