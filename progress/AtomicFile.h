#pragma once

#include <filesystem>
#include <string>

namespace common::progress {

// Replaces a file so that a reader, or a crash at any moment, sees either the whole old file or the
// whole new one: the contents go to a temporary file in the same folder, which is flushed and synced
// to the disk and then renamed over the target. Failures throw std::runtime_error with a message that
// names the file and the reason; the old file is then untouched and no temporary is left behind.
class AtomicFile {
  public:
    // writeTemporary() then commit().
    static void write(const std::filesystem::path& target, const std::string& contents);

    // The first half: writes and syncs a new "<target>.tmp.XXXXXX" (a unique name) and returns its path.
    static std::filesystem::path writeTemporary(const std::filesystem::path& target,
                                                const std::string& contents);
    // The second half: renames the temporary over the target and syncs the folder.
    static void commit(const std::filesystem::path& temporary, const std::filesystem::path& target);
    // Removes the temporaries of writers that died before their commit. Only safe while every writer
    // of the target is locked out (FileLock): a live writer's temporary would go too.
    static void removeTemporaries(const std::filesystem::path& target);

  private:
    static constexpr const char* kTemporaryInfix = ".tmp.";
};

}  // namespace common::progress
