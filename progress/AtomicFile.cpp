#include "progress/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common::progress {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw std::runtime_error("Cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

void writeAll(int fd, const std::string& contents, const std::filesystem::path& path) {
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail("write", path, n < 0 ? errno : ENOSPC);
        }
        written += static_cast<std::size_t>(n);
    }
}

}  // namespace

void AtomicFile::write(const std::filesystem::path& target, const std::string& contents) {
    commit(writeTemporary(target, contents), target);
}

std::filesystem::path AtomicFile::writeTemporary(const std::filesystem::path& target,
                                                 const std::string& contents) {
    // A name of its own: two writers never write into the same temporary.
    std::string name = target.string() + kTemporaryInfix + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    const std::filesystem::path temporary = name;
    if (fd < 0) {
        fail("create", temporary, errno);
    }
    // mkstemp makes it the owner's only; the records are as readable as the player's other files.
    ::fchmod(fd, 0644);
    try {
        writeAll(fd, contents, temporary);
        // A full disk may only show when the data reaches it.
        if (::fsync(fd) != 0) {
            fail("sync", temporary, errno);
        }
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail("close", temporary, error);
    }
    return temporary;
}

void AtomicFile::removeTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().string() + kTemporaryInfix;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

void AtomicFile::commit(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail("replace", target, error);
    }
    // The rename itself lives in the folder: sync it so that the new name survives a power cut.
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace common::progress
