#include "platform/linux/TempFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "platform/Paths.h"

namespace zv {

std::string tempName() {
    unsigned char bytes[8] = {};
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // No entropy yet (early boot): the clock and the pid still differ
        // between colliding attempts, and O_EXCL catches the rest.
        auto mix = static_cast<std::uint64_t>(
                       std::chrono::steady_clock::now().time_since_epoch().count()) ^
                   (static_cast<std::uint64_t>(getpid()) << 40);
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(mix);
            mix >>= 8;
        }
    }
    char suffix[17];
    for (int i = 0; i < 8; ++i) std::snprintf(suffix + 2 * i, 3, "%02x", bytes[i]);
    return std::string(kTempPrefix) + suffix;
}

std::string tempNameIn(const std::string& folder) {
    return joinPath(folder, tempName());
}

namespace {

// Calls `make` with fresh names until one is not taken yet (EEXIST), a
// bounded number of times.
int withFreshNames(std::string& name, const std::function<std::string()>& fresh,
                   const std::function<int(const char*)>& make) {
    constexpr int kAttempts = 100;
    int err = EEXIST;
    for (int attempt = 0; attempt < kAttempts && err == EEXIST; ++attempt) {
        name = fresh();
        err = make(name.c_str());
    }
    return err;
}

}  // namespace

int withFreeTempName(const std::string& folder, std::string& name,
                     const std::function<int(const std::string&)>& make) {
    return withFreshNames(
        name, [&] { return tempNameIn(folder); }, [&](const char*) { return make(name); });
}

int withFreeTempNameBeside(const PathAt& p, std::string& name,
                           const std::function<int(const char*)>& make) {
    const std::string folder = p.dir == AT_FDCWD ? folderForTemp(*p.text) : std::string();
    return withFreshNames(
        name, [&] { return folder.empty() ? tempName() : tempNameIn(folder); }, make);
}

UniqueFd createTempFileIn(const std::string& folder, mode_t mode, std::string& name, int& err) {
    UniqueFd fd;
    err = withFreeTempName(folder, name, [&](const std::string& candidate) {
        fd = UniqueFd(open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        return fd.valid() ? 0 : errno;
    });
    if (err != 0) name.clear();
    return fd;
}

int nameUnnamedOver(int fd, const PathAt& to, DiskSync& sync) {
    std::string temp;
    int err = withFreeTempNameBeside(
        to, temp, [&](const char* name) { return sync.giveName(fd, to.dir, name); });
    if (err != 0) return err;
    err = sync.rename(to.dir, temp.c_str(), to.dir, to.name);
    if (err != 0) unlinkat(to.dir, temp.c_str(), 0);
    return err;
}

UniqueFd createTempFileBeside(const PathAt& p, mode_t mode, std::string& name, int& err) {
    UniqueFd fd;
    err = withFreeTempNameBeside(p, name, [&](const char* candidate) {
        fd = UniqueFd(openat(p.dir, candidate, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        return fd.valid() ? 0 : errno;
    });
    if (err != 0) name.clear();
    return fd;
}

std::string folderForTemp(const std::string& path) {
    std::string parent = parentOfPath(path);
    return parent.empty() ? "." : parent;  // a bare name lies in the working folder
}

}  // namespace zv
