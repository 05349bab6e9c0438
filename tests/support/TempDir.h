#pragma once

#include <string>

namespace zv::test {

// A fresh folder under the system's temporary folder, removed (with
// everything in it, read-only bits notwithstanding) when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  private:
    std::string path_;
};

// Small helpers for building trees in tests.
void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
void makeDirs(const std::string& path);
// Sets the modification and access times (seconds since the epoch, UTC).
void setTimes(const std::string& path, long long modifiedSeconds, long long accessedSeconds);

}  // namespace zv::test
