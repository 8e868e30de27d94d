// config.txt as a player's editor may leave it: any bytes at all.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/Config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const common::app::Config config = common::app::Config::read(in);
    // Every user of the size (window, viewport, render target, HUD) needs a positive one that a
    // window and a texture can have.
    const auto usable = [](std::int32_t size) {
        return size > 0 && size <= common::app::Config::kMaxDimension;
    };
    if (!usable(config.width) || !usable(config.height)) {
        std::abort();
    }
    return 0;
}
