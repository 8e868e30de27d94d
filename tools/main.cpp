// skyrings_assetgen <output-resources-dir>: writes the game's generated meshes and textures.
#include <cstdio>
#include <exception>

#include "tools/AssetGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: skyrings_assetgen <output-resources-dir>\n", stderr);
        return 2;
    }
    try {
        common::assetgen::AssetGenerator(argv[1]).run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skyrings_assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
