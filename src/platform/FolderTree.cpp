#include "platform/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Attributes.h"
#include "platform/DosAttributes.h"
#include "platform/ErrorMapping.h"
#include "platform/UniqueFd.h"

namespace zv {

namespace {

struct Child {
    std::string name;
    struct stat st;
};

constexpr int kOpenSub = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Reads all entries of an open folder (with their lstat data); the
// descriptor stays open for the caller. Returns 0 or an errno value.
int readChildren(int fd, std::vector<Child>& children) {
    int copy = dup(fd);
    DIR* dir = copy >= 0 ? fdopendir(copy) : nullptr;
    if (!dir) {
        int err = errno;
        if (copy >= 0) close(copy);
        return err;
    }
    int err = 0;
    errno = 0;
    while (dirent* d = readdir(dir)) {
        std::string_view name = d->d_name;
        if (name == "." || name == "..") continue;
        Child child{d->d_name, {}};
        if (fstatat(dirfd(dir), d->d_name, &child.st, AT_SYMLINK_NOFOLLOW) == 0) {
            children.push_back(std::move(child));
        } else if (errno != ENOENT) {  // an entry removed meanwhile is simply gone
            err = errno;
            break;
        }
        errno = 0;
    }
    if (err == 0) err = errno;
    closedir(dir);
    return err;
}

int openSub(int parentFd, const char* name, UniqueFd& out) {
    out = UniqueFd(openat(parentFd, name, kOpenSub));
    return out.valid() ? 0 : errno;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

FsError readOnlyFound(const std::string& path) {
    return fsFail(kErrAccessDenied, "Read-only: " + path);
}

FsError scanForReadOnly(int parentFd, const std::string& name, const std::string& path) {
    UniqueFd fd;
    if (int err = openSub(parentFd, name.c_str(), fd))
        return errnoError(err, path, PathRole::Folder);
    if (readRecordedBitsFd(fd.get()) & kAttrReadOnly) return readOnlyFound(path);
    std::vector<Child> children;
    if (int err = readChildren(fd.get(), children)) return errnoError(err, path, PathRole::Folder);
    for (const Child& c : children) {
        std::string childPath = joined(path, c.name);
        if (S_ISDIR(c.st.st_mode)) {
            if (FsError e = scanForReadOnly(fd.get(), c.name, childPath)) return e;
        } else if (S_ISREG(c.st.st_mode) &&
                   isReadOnly(c.st.st_mode, readRecordedBits(childPath.c_str()))) {
            return readOnlyFound(childPath);
        }
    }
    return fsOk();
}

// Removes everything inside the folder `name` of `parentFd`, then the folder.
int removeAt(int parentFd, const std::string& name, std::string& failedPath,
             const std::string& path) {
    UniqueFd fd;
    if (int err = openSub(parentFd, name.c_str(), fd)) {
        failedPath = path;
        return err;
    }
    std::vector<Child> children;
    int err = readChildren(fd.get(), children);
    for (std::size_t i = 0; err == 0 && i < children.size(); ++i) {
        const Child& c = children[i];
        std::string childPath = joined(path, c.name);
        if (S_ISDIR(c.st.st_mode)) {
            err = removeAt(fd.get(), c.name, failedPath, childPath);
            continue;
        }
        if (unlinkat(fd.get(), c.name.c_str(), 0) != 0 && errno != ENOENT) {
            err = errno;
            failedPath = childPath;
        }
    }
    if (err != 0) {
        if (failedPath.empty()) failedPath = path;
        return err;
    }
    if (unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) != 0) {
        failedPath = path;
        return errno;
    }
    return 0;
}

FsError sumAt(int parentFd, const std::string& name, const std::string& path,
              std::uint64_t& bytes) {
    UniqueFd fd;
    if (int err = openSub(parentFd, name.c_str(), fd))
        return errnoError(err, path, PathRole::Folder);
    std::vector<Child> children;
    if (int err = readChildren(fd.get(), children)) return errnoError(err, path, PathRole::Folder);
    for (const Child& c : children) {
        if (S_ISREG(c.st.st_mode)) {
            bytes += static_cast<std::uint64_t>(c.st.st_size);
        } else if (S_ISDIR(c.st.st_mode)) {
            if (FsError e = sumAt(fd.get(), c.name, joined(path, c.name), bytes)) return e;
        }
    }
    return fsOk();
}

}  // namespace

FsError findReadOnlyInTree(const std::string& folder) {
    return scanForReadOnly(AT_FDCWD, folder, folder);
}

FsError removeTree(const std::string& folder) {
    std::string failedPath;
    int err = removeAt(AT_FDCWD, folder, failedPath, folder);
    return err == 0 ? fsOk() : errnoError(err, failedPath, PathRole::Folder);
}

FsError sumTreeSizes(const std::string& folder, std::uint64_t& bytes) {
    bytes = 0;
    return sumAt(AT_FDCWD, folder, folder, bytes);
}

}  // namespace zv
