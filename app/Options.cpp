#include "app/Options.h"

#include <CLI/CLI.hpp>

#include "app/CommandTable.h"
#include "course/CourseFile.h"
#include "course/CourseRecorder.h"

namespace common::app {
namespace {

const char* const kDescription = "Skyrings: fly a craft over the mountains and through the rings.";

// "Usage: skyrings [--help] [--demo] [--course NAME]": built from the options themselves, so an
// option added to the parser shows here too.
std::string usageLine(const CLI::App& app) {
    std::string line = "Usage: " + app.get_name();
    for (const CLI::Option* option : app.get_options()) {
        line += " [" + option->get_name();
        if (!option->get_type_name().empty()) {
            line += " " + option->get_type_name();
        }
        line += "]";
    }
    return line;
}

}  // namespace

void Options::declare(CLI::App& app, const std::vector<std::string>& courses,
                      const std::vector<std::string>& islands) {
    app.set_version_flag("--version", std::string("skyrings ") + SKYRINGS_VERSION,
                         "Print the version and exit");
    // Every option stands once: a second one is a mistake on the command line, not an override.
    app.add_flag("--demo", demo_, "The autopilot flies the course")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_option("--course", course_, "The course to start on")
        ->type_name("NAME")
        ->check(CLI::IsMember(courses))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_flag("--list-courses", listCourses_, "Print each course's rings, length and par time")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_flag("--menu", menu_, "Start with the menu open over the paused countdown")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    declareCourseFiles(app, islands);
    app.footer(CommandTable::helpText() + "\n\n" + course::CourseRecorder::helpText());
}

// The player's own courses: checked, played from a file, recorded.
void Options::declareCourseFiles(CLI::App& app, const std::vector<std::string>& islands) {
    app.add_option("--check-course", checkCourse_,
                   "Check a course file: its problems, or its rings and par time")
        ->type_name("FILE")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_option("--course-file", courseFile_, "Play a course file (checked first)")
        ->type_name("FILE")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_option("--record-course", recordCourse_, "Record a course of that name, flown over ISLAND")
        ->type_name("NAME")
        ->check(CLI::Validator(
            [](std::string& name) {
                return course::CourseFile::validName(name)
                           ? std::string()
                           : "a course name is 1-40 letters, digits, spaces, '-' or '_'";
            },
            ""))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_option("--island", island_, "The island a recorded course flies over")
        ->type_name("ISLAND")
        ->check(CLI::IsMember(islands))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

Options Options::parse(int argc, const char* const* argv, const std::vector<std::string>& courses,
                       const std::vector<std::string>& islands) {
    Options options;
    CLI::App app{kDescription, "skyrings"};
    options.declare(app, courses, islands);
    try {
        app.parse(argc, argv);
        if (options.recordCourse_.empty() != options.island_.empty()) {
            throw CLI::ValidationError("--record-course and --island go together");
        }
    } catch (const CLI::CallForHelp&) {
        options.exitStatus_ = 0;
        options.message_ = app.help();
    } catch (const CLI::CallForVersion& version) {
        options.exitStatus_ = 0;
        options.message_ = std::string(version.what()) + "\n";
    } catch (const CLI::ParseError& error) {
        options.exitStatus_ = kUsageError;
        options.message_ = std::string(error.what()) + ". " + usageLine(app);
    }
    return options;
}

std::vector<Options::Described> Options::described() {
    Options options;
    CLI::App app{kDescription, "skyrings"};
    options.declare(app, {}, {});
    std::vector<Described> list;
    for (const CLI::Option* option : app.get_options()) {
        // The type name carries the validator's text too ("NAME:{mountain,coast}"): the name alone.
        const std::string typeName = option->get_type_name();
        list.push_back(
            {option->get_name(), typeName.substr(0, typeName.find(':')), option->get_description()});
    }
    return list;
}

}  // namespace common::app
