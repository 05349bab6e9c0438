#include "platform/linux/FolderTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Paths.h"
#include "platform/linux/DirEntries.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

namespace {

constexpr int kOpenSub = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// What an entry of unrecorded type is: a folder when it opens as one.
bool opensAsFolder(int parentFd, const char* name) {
    const UniqueFd fd(openat(parentFd, name, kOpenSub));
    return fd.valid();
}

// Counts the files of an open folder by their directory entries alone (no
// entry is read itself: that would double the cost of the walk this count
// runs beside) and collects the names of its subfolders. Returns 0 or an
// errno value.
int countOwnFiles(int fd, std::uint64_t& count, std::vector<std::string>& subfolders) {
    return forEachDirEntry(fd, [&](const char* name, unsigned char type) {
        if (type == DT_DIR || (type == DT_UNKNOWN && opensAsFolder(fd, name)))
            subfolders.emplace_back(name);
        else if (type == DT_REG || type == DT_LNK || type == DT_UNKNOWN)
            ++count;
        return true;
    });
}

// `path` (for messages) is one buffer for the whole descent, each level
// adding its name and taking it off again: a path a level would make the
// memory grow with the square of the depth.
FsError countAt(int parentFd, const char* name, std::string& path, std::uint64_t& count,
                const std::stop_token& stop) {
    if (stop.stop_requested()) return fsOk();
    const UniqueFd fd(openat(parentFd, name, kOpenSub));
    if (!fd.valid()) return errnoError(errno, path, PathRole::Folder);
    std::vector<std::string> subfolders;
    if (int err = countOwnFiles(fd.get(), count, subfolders))
        return errnoError(err, path, PathRole::Folder);
    const std::size_t length = path.size();
    for (const std::string& sub : subfolders) {
        appendName(path, sub);
        FsError e = countAt(fd.get(), sub.c_str(), path, count, stop);
        path.resize(length);
        if (e.failed()) return e;
    }
    return fsOk();
}

}  // namespace

FsError countTreeFiles(const std::string& folder, std::uint64_t& count, std::stop_token stop) {
    count = 0;
    std::string path = folder;
    return countAt(AT_FDCWD, folder.c_str(), path, count, stop);
}

}  // namespace zv
