#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace testsupport {

// A fresh directory under the system temp folder, removed with everything in it on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes `content` to `relative` (parent folders created) and returns the full path.
    std::filesystem::path write(const std::string& relative, const std::string& content) const;

  private:
    std::filesystem::path path_;
};

// Changes the working directory for the lifetime of the object.
class ScopedCwd {
  public:
    explicit ScopedCwd(const std::filesystem::path& dir);
    ~ScopedCwd();
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

  private:
    std::filesystem::path previous_;
};

std::string readFile(const std::filesystem::path& path);

// Standard-output capture for code that prints with stdio (flushes before reading).
void beginStdoutCapture();
std::string endStdoutCapture();
// What `action` prints on standard output while it runs.
std::string capturedStdout(const std::function<void()>& action);

// How often `part` occurs in `text` (overlapping occurrences count).
int occurrences(const std::string& text, const std::string& part);

}  // namespace testsupport
