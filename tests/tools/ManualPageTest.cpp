// The manual page the build writes: its options are the ones `--help` prints and its keys the command
// table's, in their order, and groff reads it without a warning.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandTable.h"
#include "app/Options.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TestFiles.h"

namespace {

using common::app::Command;
using common::app::CommandTable;
using common::app::Options;

// The tagged-paragraph heads (the line after each ".TP") of one section, as the reader sees them:
// font changes dropped, "\-" back to "-", ".B " requests reduced to their text.
std::vector<std::string> tagsOf(const std::string& page, const std::string& section) {
    std::istringstream lines(page);
    std::string line;
    bool inSection = false;
    bool tagNext = false;
    std::vector<std::string> tags;
    while (std::getline(lines, line)) {
        if (line.rfind(".SH ", 0) == 0) {
            inSection = line == ".SH " + section;
        } else if (inSection && tagNext) {
            line = std::regex_replace(line, std::regex(R"(\\f[BIR]|^\.B )"), "");
            tags.push_back(std::regex_replace(line, std::regex(R"(\\-)"), "-"));
        }
        tagNext = inSection && line == ".TP";
    }
    return tags;
}

// The options `--help` prints, with their value names ("--course NAME"), in its order.
std::vector<std::string> optionsInHelp() {
    const char* const argv[] = {"skyrings", "--help"};
    const std::string help = Options::parse(2, argv).message();
    const std::string options = help.substr(0, help.find("Keys:"));
    std::vector<std::string> names;
    const std::regex option(R"(--[a-z-]+( [A-Z]+)?)");
    for (auto it = std::sregex_iterator(options.begin(), options.end(), option); it != std::sregex_iterator();
         ++it) {
        names.push_back(it->str());
    }
    return names;
}

}  // namespace

TEST(ManualPage, ListsTheHelpsOptionsAndTheCommandTablesKeysInOrderAndReadsCleanly) {
    const testsupport::TempDir dir;
    const std::string page = (dir.path() / "skyrings.6").string();
    const std::string log =
        testsupport::runCommand("'" SKYRINGS_MANPAGE_BINARY "' '" + page + "' 2031-02-03 2>&1");
    const std::string text = testsupport::readFile(page);
    ASSERT_FALSE(text.empty()) << log;
    EXPECT_TRUE(std::regex_search(
        text, std::regex(R"(\n\.TH SKYRINGS 6 "2031-02-03" "skyrings [0-9]+\.[0-9]+\.[0-9]+")")))
        << text.substr(0, 200);

    const std::vector<std::string> options = optionsInHelp();
    ASSERT_GE(options.size(), 5u) << "--help, --version, --demo, --course, --list-courses";
    EXPECT_EQ(tagsOf(text, "OPTIONS"), options);

    std::vector<std::string> keys;
    std::string buttons;
    for (const Command& command : CommandTable::all()) {
        keys.push_back(command.keyLabel);
        EXPECT_NE(text.find(std::string(".B ") + command.keyLabel + "\n" + command.help + "\n"),
                  std::string::npos)
            << command.keyLabel;
        if (command.padLabel) {
            buttons += std::string(", \\fB") + command.padLabel + "\\fR " + command.help;
        }
    }
    EXPECT_EQ(tagsOf(text, "KEYS"), keys);
    EXPECT_NE(text.find("d\\-pad steers" + buttons + ".\n"), std::string::npos) << buttons;
    for (const char* entry : {"$XDG_CONFIG_HOME/skyrings/config.txt", "$XDG_DATA_HOME/skyrings/records.json",
                              "/usr/share/skyrings/resources/courses/courses.json", "ALSOFT_DRIVERS"}) {
        EXPECT_NE(text.find(std::string(".I ") + entry + "\n"), std::string::npos) << entry;
    }

    // groff warns about every request or escape it cannot read; the page must give none.
    if (!testsupport::runCommand("command -v groff").empty()) {
        EXPECT_EQ(testsupport::runCommand("groff -man -Tutf8 -ww -z '" + page + "' 2>&1"), "");
    }
}
