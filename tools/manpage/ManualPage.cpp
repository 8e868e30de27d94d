#include "tools/manpage/ManualPage.h"

#include <sstream>
#include <vector>

#include "app/CommandTable.h"
#include "app/Options.h"
#include "course/CourseRecorder.h"

namespace tools {
namespace {

using common::app::Command;
using common::app::CommandTable;
using common::app::Options;

// Text as roff prints it: backslashes escaped, a leading dot or quote kept from reading as a request.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\\' ? std::string("\\e") : std::string(1, c);
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

// An option name in bold with real minus signs ("\-\-demo"), so it can be searched and pasted.
std::string optionName(const std::string& name) {
    std::string out = "\\fB";
    for (const char c : name) {
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    return out + "\\fR";
}

std::string optionWithValue(const Options::Described& option) {
    std::string text = optionName(option.name);
    if (!option.valueName.empty()) {
        text += " \\fI" + escaped(option.valueName) + "\\fR";
    }
    return text;
}

std::string version() {
    const char* const argv[] = {"skyrings", "--version"};
    std::string text = Options::parse(2, argv).message();
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

void writeHeader(std::ostream& out, const std::string& date) {
    out << ".\\\" Written by the build from the option parser and the command table: edit those, not this.\n"
        << ".TH SKYRINGS 6 \"" << date << "\" \"" << version() << "\" \"Games\"\n"
        << ".SH NAME\n"
        << "skyrings \\- fly a craft over the mountains and through the spinning rings\n"
        << ".SH SYNOPSIS\n"
        << ".B skyrings\n";
    for (const Options::Described& option : Options::described()) {
        out << "[" << optionWithValue(option) << "]\n";
    }
    out << ".SH DESCRIPTION\n"
        << "A small real\\-time 3D flying game. Steer a craft over a mountain landscape and fly through the\n"
        << "spinning rings: every ring scores, the finish ring ends the race, and touching the ground ends\n"
        << "the game. Each course keeps its fastest run, and its ghost flies beside the next attempt.\n"
        << "Every mesh, texture and sound is made by the build's own generator.\n";
}

void writeOptions(std::ostream& out) {
    out << ".SH OPTIONS\n";
    for (const Options::Described& option : Options::described()) {
        out << ".TP\n" << optionWithValue(option) << "\n" << escaped(option.help) << ".\n";
    }
}

void writeKeys(std::ostream& out) {
    out << ".SH KEYS\n";
    std::string buttons;
    for (const Command& command : CommandTable::all()) {
        out << ".TP\n.B " << escaped(command.keyLabel) << "\n" << escaped(command.help) << "\n";
        if (command.padLabel) {
            buttons += std::string(", \\fB") + escaped(command.padLabel) + "\\fR " + escaped(command.help);
        }
    }
    out << ".SS Gamepad\n"
        << "The left stick or the d\\-pad steers" << buttons << ".\n";
}

// One tagged paragraph per file or variable: its name in italics, what it is.
void writeEntries(std::ostream& out, const char* section,
                  const std::vector<std::pair<const char*, const char*>>& entries) {
    out << ".SH " << section << "\n";
    for (const auto& [name, text] : entries) {
        out << ".TP\n.I " << name << "\n" << text << "\n";
    }
}

void writeRecorderKeys(std::ostream& out) {
    out << ".SH RECORDING A COURSE\n"
        << "With \\fB\\-\\-record\\-course\\fR \\fINAME\\fR \\fB\\-\\-island\\fR \\fIISLAND\\fR the craft "
           "flies freely over the island.\n"
        << "A crash puts it back at the last ring dropped.\n";
    for (const common::course::CourseRecorder::Key& key : common::course::CourseRecorder::keys()) {
        out << ".TP\n.B " << escaped(key.label) << "\n" << escaped(key.help) << "\n";
    }
}

void writeFilesAndEnvironment(std::ostream& out) {
    writeEntries(
        out, "FILES",
        {{"$XDG_CONFIG_HOME/skyrings/config.txt",
          "The player's configuration (\\fI~/.config/skyrings/config.txt\\fR by default): window size\n"
          "(\\fBWIDTH\\fR, \\fBHEIGHT\\fR), full screen (\\fBF\\fR), the first course (\\fBCOURSE\\fR) and "
          "the\n"
          "quality preset (\\fBQUALITY\\fR: high, medium or low). Copied on the first start from the shipped "
          "one."},
         {"/usr/share/skyrings/config.txt", "The shipped configuration; never written."},
         {"$XDG_DATA_HOME/skyrings/records.json",
          "The fastest run of every course: time, score, splits and ghost\n"
          "(\\fI~/.local/share/skyrings/records.json\\fR by default)."},
         {"$XDG_DATA_HOME/skyrings/courses/",
          "The player's own courses, one JSON file each, checked and flown by the autopilot before\n"
          "they join the course list (\\fI~/.local/share/skyrings/courses/\\fR by default)."},
         {"/usr/share/skyrings/resources/courses/courses.json",
          "The course list: every course's scene, rings, length and par time."},
         {"$XDG_CACHE_HOME/skyrings/",
          "The folder the game runs in (\\fI~/.cache/skyrings/\\fR by default): links to the player's\n"
          "configuration and the installed resources, remade on every start."}});
    out << ".PP\nInstalled with \\fBcmake \\-\\-install\\fR, the prefix given there takes the place of "
           "\\fI/usr\\fR.\n";
    writeEntries(
        out, "ENVIRONMENT",
        {{"XDG_CONFIG_HOME", "Where the player's configuration is kept."},
         {"XDG_DATA_HOME", "Where the records are kept."},
         {"XDG_CACHE_HOME", "Where the game's run folder is made."},
         {"ALSOFT_DRIVERS",
          "The sound drivers OpenAL Soft tries, as \\fBpulse,alsa\\fR; \\fBnull\\fR plays silently.\n"
          "Without a sound device the game plays without sound."}});
}

}  // namespace

std::string ManualPage::render(const std::string& date) {
    std::ostringstream out;
    writeHeader(out, date);
    writeOptions(out);
    writeKeys(out);
    writeRecorderKeys(out);
    writeFilesAndEnvironment(out);
    return out.str();
}

}  // namespace tools
