#pragma once

#include <filesystem>

namespace common::progress {

// An exclusive advisory lock (flock) on a small file of its own, held for the object's lifetime: two
// games that write the same records take turns. Waits while another holder has it; throws
// std::runtime_error naming the lock file when it cannot be made or taken.
class FileLock {
  public:
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace common::progress
