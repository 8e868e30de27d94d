// Window sizes no window or render target can have fall back to the defaults, like unusable ones.

#include "app/Config.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using common::app::Config;

namespace {

Config read(const std::string& text) {
    std::istringstream in(text);
    return Config::read(in);
}

}  // namespace

TEST(ConfigLimits, TheLargestSizeIsKept) {
    const Config config = read("WIDTH\n16384\nHEIGHT\n16384\n");
    EXPECT_EQ(config.width, 16384);
    EXPECT_EQ(config.height, 16384);
}

TEST(ConfigLimits, LargerSizesFallBackOnTheirOwn) {
    const Config wide = read("WIDTH\n16385\nHEIGHT\n480\n");
    EXPECT_EQ(wide.width, Config::kDefaultWidth);
    EXPECT_EQ(wide.height, 480);
    const Config tall = read("WIDTH\n640\nHEIGHT\n100000\n");
    EXPECT_EQ(tall.width, 640);
    EXPECT_EQ(tall.height, Config::kDefaultHeight);
    // X11 keeps window sizes in 16 bits: 65536 would have become 0 and 100000 would have become 34464.
    const Config wrapped = read("WIDTH\n65536\nHEIGHT\n2147483647\n");
    EXPECT_EQ(wrapped.width, Config::kDefaultWidth);
    EXPECT_EQ(wrapped.height, Config::kDefaultHeight);
}
