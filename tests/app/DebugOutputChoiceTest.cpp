#include "app/DebugOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using common::app::debug_output::Api;
using common::app::debug_output::chooseApi;

// The interface comes from what the context reports, never from which names resolve.
TEST(DebugOutputChoice, TheContextsVersionAndExtensionsDecide) {
    const struct {
        int major;
        int minor;
        std::vector<std::string> extensions;
        Api api;
    } cases[] = {
        {4, 3, {}, Api::Core},
        {4, 6, {"GL_ARB_debug_output"}, Api::Core},
        {3, 3, {"GL_ARB_sync", "GL_KHR_debug"}, Api::Core},
        {3, 3, {"GL_ARB_debug_output", "GL_AMD_debug_output"}, Api::Arb},
        {4, 2, {"GL_AMD_debug_output"}, Api::Amd},
        {3, 3, {"GL_KHR_debug_output", "GL_ARB_debug"}, Api::None},
        {3, 3, {}, Api::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseApi(c.major, c.minor, c.extensions), c.api)
            << c.major << "." << c.minor << " with " << c.extensions.size() << " extensions";
    }
}
