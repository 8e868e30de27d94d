#include "progress/FileLock.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace common::progress {

FileLock::FileLock(const std::filesystem::path& lockFile)
    : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    int result = fd_ < 0 ? -1 : 0;
    if (fd_ >= 0) {
        while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
    }
    if (result != 0) {
        const int error = errno;
        if (fd_ >= 0) {
            ::close(fd_);
        }
        throw std::runtime_error("Cannot lock " + lockFile.string() + ": " + std::strerror(error));
    }
}

// Closing the only descriptor of the open file releases the lock.
FileLock::~FileLock() {
    ::close(fd_);
}

}  // namespace common::progress
