#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace zv::test {

// A fresh temporary folder, removed with all in it (read-only or not) when the object goes.
class TempDir {
  public:
    TempDir() : path_((std::filesystem::temp_directory_path() / "zvtest-XXXXXX").string()) {
        if (!mkdtemp(path_.data())) throw std::runtime_error("mkdtemp failed");
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ec;
        // Give back write permission everywhere so that the removal cannot fail.
        for (auto it = fs::recursive_directory_iterator(path_, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (!it->is_symlink())
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
// `text` cut at every `end`, the ends left out.
inline std::vector<std::string> splitLines(const std::string& text,
                                           const std::string& end = "\r\n") {
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; at < text.size(); at = next + end.size()) {
        next = std::min(text.find(end, at), text.size());
        lines.push_back(text.substr(at, next - at));
    }
    return lines;
}
inline void makeDirs(const std::string& path) {
    std::filesystem::create_directories(path);
}
// Sets the modification and access times (seconds since the epoch, UTC).
inline void setTimes(const std::string& path, long long modifiedSeconds,
                     long long accessedSeconds) {
    const timespec times[2] = {{static_cast<time_t>(accessedSeconds), 0},
                               {static_cast<time_t>(modifiedSeconds), 0}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

}  // namespace zv::test
