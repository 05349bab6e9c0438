#include "platform/linux/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Attributes.h"
#include "platform/Paths.h"
#include "platform/linux/DirEntries.h"
#include "platform/linux/DosAttributes.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

namespace {

struct Child {
    std::string name;
    struct stat st;
};

constexpr int kOpenSub = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Reads all entries of an open folder: the type of each, and the lstat data
// of regular files (and of entries whose type the folder does not record).
// The descriptor stays open for the caller. Returns 0 or an errno value.
int readChildren(int fd, std::vector<Child>& children) {
    int statErr = 0;
    int err = forEachDirEntry(fd, [&](const char* name, unsigned char type) {
        Child child{name, {}};
        // Regular files need a stat anyway, for their size and permission bits.
        const mode_t mode = modeOfDirType(type);
        if (mode != 0 && !S_ISREG(mode)) {
            child.st.st_mode = mode;
        } else if (fstatat(fd, name, &child.st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) return true;  // an entry removed meanwhile is simply gone
            statErr = errno;
            return false;
        }
        children.push_back(std::move(child));
        return true;
    });
    return err != 0 ? err : statErr;
}

int openSub(int parentFd, const char* name, UniqueFd& out) {
    out = UniqueFd(openat(parentFd, name, kOpenSub));
    return out.valid() ? 0 : errno;
}

FsError sumAt(int parentFd, const std::string& name, const std::string& path, std::uint64_t& bytes,
              const std::stop_token& stop) {
    if (stop.stop_requested()) return fsOk();
    UniqueFd fd;
    if (int err = openSub(parentFd, name.c_str(), fd))
        return errnoError(err, path, PathRole::Folder);
    std::vector<Child> children;
    if (int err = readChildren(fd.get(), children)) return errnoError(err, path, PathRole::Folder);
    for (const Child& c : children) {
        if (S_ISREG(c.st.st_mode)) {
            bytes += static_cast<std::uint64_t>(c.st.st_size);
        } else if (S_ISDIR(c.st.st_mode)) {
            if (FsError e = sumAt(fd.get(), c.name, joinPath(path, c.name), bytes, stop);
                e.failed())
                return e;
        }
    }
    return fsOk();
}

}  // namespace

FsError sumTreeSizes(const std::string& folder, std::uint64_t& bytes, std::stop_token stop) {
    bytes = 0;
    return sumAt(AT_FDCWD, folder, folder, bytes, stop);
}

}  // namespace zv
