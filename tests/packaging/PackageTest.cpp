// The Debian package CPack makes from this build: its files, its declared dependencies and its icon, and
// what Debian's own checker, lintian, says of it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/GameProcess.h"
#include "tests/support/TestFiles.h"

using testsupport::runCommand;
using testsupport::TempDir;

TEST(Package, HoldsTheGameAndItsDesktopFilesAndDependsOnRuntimeLibrariesOnly) {
    const TempDir output;
    const std::string dir = output.path().string();
    const std::string log =
        runCommand("cd '" + dir + "' && '" + SKYRINGS_CPACK_COMMAND + "' -G DEB -B '" + dir + "' --config '" +
                   SKYRINGS_BINARY_DIR + "/CPackConfig.cmake' 2>&1");
    std::string deb;
    for (const auto& entry : std::filesystem::directory_iterator(output.path())) {
        if (entry.path().extension() == ".deb") {
            deb = entry.path().string();
        }
    }
    ASSERT_FALSE(deb.empty()) << log;
    const std::string files = runCommand("dpkg-deb -c '" + deb + "'");
    for (const char* path :
         {"./usr/games/skyrings", "./usr/lib/skyrings/skyrings", "./usr/share/man/man6/skyrings.6.gz",
          "./usr/share/doc/skyrings/changelog.gz", "./usr/share/doc/skyrings/copyright",
          "./usr/share/skyrings/config.txt", "./usr/share/skyrings/resources/meshes/heightmap.bmp",
          "./usr/share/skyrings/resources/textures/font.png",
          "./usr/share/skyrings/resources/sounds/chime.wav",
          "./usr/share/skyrings/resources/shaders/textShader/TextVertexShader.vert",
          "./usr/share/applications/skyrings.desktop", "./usr/share/icons/hicolor/256x256/apps/skyrings.png",
          "./usr/share/icons/hicolor/scalable/apps/skyrings.svg",
          "./usr/share/metainfo/io.github.skyrings.Skyrings.metainfo.xml"}) {
        EXPECT_NE(files.find(std::string(path) + "\n"), std::string::npos) << path;
    }
    EXPECT_EQ(files.find("./usr/bin/"), std::string::npos) << "a game's programs are in /usr/games";
    // The launcher and the game are executable.
    EXPECT_NE(files.find("-rwxr-xr-x root/root"), std::string::npos) << files;

    const std::string depends = runCommand("dpkg-deb -f '" + deb + "' Depends");
    for (const char* package : {"libglfw3", "libglew2.2", "libassimp5", "libfreeimage3", "libopenal1",
                                "libsndfile1", "libgl1-mesa-dri"}) {
        EXPECT_NE(depends.find(package), std::string::npos) << package << " in " << depends;
    }
    EXPECT_EQ(depends.find("-dev"), std::string::npos) << depends;
    // The icon is a 256-pixel square PNG.
    const std::string header = runCommand("dpkg-deb --fsys-tarfile '" + deb +
                                          "' | tar -xOf - ./usr/share/icons/hicolor/256x256/apps/skyrings.png"
                                          " | head -c 24 | od -An -tx1 | tr -d ' \\n'");
    // PNG signature, then the IHDR chunk: width 256, height 256.
    EXPECT_EQ(header,
              "89504e470d0a1a0a0000000d4948445200000100"
              "00000100")
        << header;

    // Every error and warning lintian finds fails the package. A tag that is meant would go, with its
    // reason, into an overrides file installed as usr/share/lintian/overrides/skyrings.
    if (!runCommand("command -v lintian").empty()) {
        // Its own notes (as on running as root) go to standard error; the tags come on standard output.
        EXPECT_EQ(runCommand("lintian --fail-on error,warning '" + deb + "' 2>/dev/null; echo status $?"),
                  "status 0\n");
    }
}
