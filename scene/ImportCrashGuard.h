#pragma once

#include <string>

namespace common::scene {

// Assimp crashes on some malformed model files (a failed internal assertion, a null dereference)
// instead of reporting them. While a guard is alive, such a crash ends the game with one line on
// standard error naming the file and exit status -1 (255), not a core dump; standard error is
// silenced meanwhile (the importer writes nothing there but its assertion text). Meant for the
// import call only: the handler does nothing but write the prepared line and exit.
class ImportCrashGuard {
  public:
    explicit ImportCrashGuard(const std::string& path);
    ~ImportCrashGuard();

    ImportCrashGuard(const ImportCrashGuard&) = delete;
    ImportCrashGuard& operator=(const ImportCrashGuard&) = delete;
};

}  // namespace common::scene
