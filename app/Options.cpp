#include "app/Options.h"

#include <CLI/CLI.hpp>

#include "app/CommandTable.h"

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

void Options::declare(CLI::App& app, const std::vector<std::string>& courses) {
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
    app.footer(CommandTable::helpText());
}

Options Options::parse(int argc, const char* const* argv, const std::vector<std::string>& courses) {
    Options options;
    CLI::App app{kDescription, "skyrings"};
    options.declare(app, courses);
    try {
        app.parse(argc, argv);
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
    options.declare(app, {});
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
