#include "app/Config.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "tests/support/TestFiles.h"

using common::app::Config;

namespace {

// What, the text, the width and height, full screen or not.
const std::tuple<const char*, std::string, int, int, bool> kCases[] = {
    // Well-formed files
    {"five lines", "WIDTH\n1024\nHEIGHT\n768\nF\n", 1024, 768, true},
    {"any order, the last value wins", "HEIGHT\n480\nWIDTH\n640\nWIDTH\n1280\n", 1280, 480, false},
    {"carriage returns", "WIDTH\r\n1024\r\nHEIGHT\r\n768\r\nF\r\n", 1024, 768, true},
    {"old Mac line ends make one line", "WIDTH\r640\rHEIGHT\r480\r", 800, 600, false},
    {"a byte order mark hides the first key", "\xEF\xBB\xBFWIDTH\n640\nHEIGHT\n480\n", 800, 480, false},
    {"no last line feed", "WIDTH\n1024\nHEIGHT\n768\nF", 1024, 768, true},
    {"no line feed after a value", "WIDTH\n1024\nHEIGHT\n700", 1024, 700, false},
    {"blanks, then digits up to the first other character", "WIDTH\n  1024px\nHEIGHT\n+768 pixels\n", 1024,
     768, false},
    {"the largest size", "WIDTH\n16384\nHEIGHT\n16384\n", 16384, 16384, false},
    // Lines that are not keys
    {"keys are whole upper-case lines", "width\n1024\nWIDTH \n1000\n HEIGHT\n700\nf\nF \n", 800, 600, false},
    {"comments and blank lines", "# window\n\nWIDTH\n1024\n\nsomething else\nHEIGHT\n768\n", 1024, 768,
     false},
    // The line after a key is its value, even another key: 1024 is then an ordinary line, and "F" is
    // the width's value rather than the full-screen switch.
    {"a key as the height's value", "HEIGHT\nWIDTH\n1024\n", 800, 600, false},
    {"F as the width's value", "WIDTH\nF\nHEIGHT\n700\n", 800, 700, false},
    // Sizes every later user needs to be positive and usable fall back to 800 x 600 on their own
    {"only full screen", "F\n", 800, 600, true},
    {"zero and negative", "WIDTH\n0\nHEIGHT\n-5\n", 800, 600, false},
    {"no number, beyond 32 bits", "WIDTH\nabc\nHEIGHT\n99999999999\n", 800, 600, false},
    {"no number, an empty value line", "WIDTH\npx640\nHEIGHT\n\n", 800, 600, false},
    {"640 beyond 32 bits, beyond 64 bits", "WIDTH\n4294967936\nHEIGHT\n-99999999999999999999\n", 800, 600,
     false},
    {"value line missing", "WIDTH\n16384\nHEIGHT\n", 16384, 600, false},
    {"key alone", "HEIGHT", 800, 600, false},
    {"an invalid later value", "WIDTH\n1024\nWIDTH\nwide\n", 800, 600, false},
    {"empty", "", 800, 600, false},
    {"binary", std::string("\0\xff\xfe\x01WIDTH\x00", 10), 800, 600, false},
    {"one wider than the largest", "WIDTH\n16385\nHEIGHT\n480\n", 800, 480, false},
    {"taller than the largest", "WIDTH\n640\nHEIGHT\n100000\n", 640, 600, false},
    // X11 keeps window sizes in 16 bits: 65536 would have become 0 and 2147483647 65535.
    {"beyond 16 bits", "WIDTH\n65536\nHEIGHT\n2147483647\n", 800, 600, false},
};

// The start course: the line after "COURSE", whatever it holds; other keys unchanged.
const std::tuple<const char*, std::string, std::string, int> kCourseCases[] = {
    {"named", "COURSE\ncoast\nWIDTH\n640\n", "coast", 640},
    {"carriage return and the last one wins", "COURSE\r\ncoast\r\nCOURSE\r\nslalom\r\n", "slalom", 800},
    {"a key as its value", "COURSE\nWIDTH\n640\n", "WIDTH", 800},
    {"value line missing", "WIDTH\n640\nCOURSE\n", "", 640},
    {"lower-case key", "course\ncoast\n", "", 800},
    {"no course", "WIDTH\n640\n", "", 640},
};

}  // namespace

TEST(Config, EveryCaseGivesItsWindowAndCourseFromTextOrFile) {
    for (const auto& [what, text, course, width] : kCourseCases) {
        std::istringstream in(text);
        const Config config = Config::read(in);
        EXPECT_EQ(config.course, course) << what;
        EXPECT_EQ(config.width, width) << what;
    }
    for (const auto& [what, text, width, height, fullscreen] : kCases) {
        std::istringstream in(text);
        const Config config = Config::read(in);
        EXPECT_EQ(config.width, width) << what;
        EXPECT_EQ(config.height, height) << what;
        EXPECT_EQ(config.fullscreen, fullscreen) << what;
    }

    // From a file: a missing one gives the default window, and reading prints nothing.
    testsupport::TempDir dir;
    const Config missing = Config::readFile((dir.path() / "config.txt").string());
    EXPECT_EQ(missing.width, 800);
    EXPECT_EQ(missing.height, 600);
    testsupport::beginStdoutCapture();
    const Config read = Config::readFile(dir.write("config.txt", "junk\nWIDTH\r\n1024\r\nx\n").string());
    EXPECT_EQ(testsupport::endStdoutCapture(), "");
    EXPECT_EQ(read.width, 1024);
}
