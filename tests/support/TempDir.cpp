#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zv::test {

namespace fs = std::filesystem;

TempDir::TempDir() : path_((fs::temp_directory_path() / "zvtest-XXXXXX").string()) {
    if (!mkdtemp(path_.data())) throw std::runtime_error("mkdtemp failed");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Give back write permission everywhere so that the removal cannot fail.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (!it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& content) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void makeDirs(const std::string& path) {
    fs::create_directories(path);
}

void setTimes(const std::string& path, long long modifiedSeconds, long long accessedSeconds) {
    const timespec times[2] = {{static_cast<time_t>(accessedSeconds), 0},
                               {static_cast<time_t>(modifiedSeconds), 0}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

}  // namespace zv::test
