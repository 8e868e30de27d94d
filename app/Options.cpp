#include "app/Options.h"

#include <CLI/CLI.hpp>

namespace common::app {
namespace {

const char* const kKeys =
    "Keys:\n"
    "  Up / Down      nose down / nose up\n"
    "  Left / Right   roll left / right\n"
    "  R              restart\n"
    "  C              next course\n"
    "  M              sound off / on\n"
    "  P              pause / go on\n"
    "  G              ghost of the best run on / off\n"
    "  F2             average frame rate and triangle count\n"
    "  F3             wireframe with bounding boxes\n"
    "  F4             bilinear / nearest texture filter\n"
    "  F5             mipmaps: off, nearest, linear\n"
    "  F6             debug view: velocity and shadow-map previews\n"
    "  F7             motion blur on / off\n"
    "  F8             frustum culling on / off\n"
    "  F9             transparent ring discs on / off\n"
    "  F10            tint the shadow cascades\n"
    "  F11            full screen and back\n"
    "  N              guidance to the next ring on / off\n"
    "  Escape         quit\n"
    "A gamepad: the left stick or the d-pad steers, A restarts.";

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

Options Options::parse(int argc, const char* const* argv, const std::vector<std::string>& courses) {
    Options options;
    CLI::App app{"Skyrings: fly a craft over the mountains and through the rings.", "skyrings"};
    app.set_version_flag("--version", std::string("skyrings ") + SKYRINGS_VERSION,
                         "Print the version and exit");
    // Every option stands once: a second one is a mistake on the command line, not an override.
    app.add_flag("--demo", options.demo_, "The autopilot flies the course")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_option("--course", options.course_, "The course to start on")
        ->type_name("NAME")
        ->check(CLI::IsMember(courses))
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.add_flag("--list-courses", options.listCourses_, "Print each course's rings, length and par time")
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app.footer(kKeys);

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

}  // namespace common::app
