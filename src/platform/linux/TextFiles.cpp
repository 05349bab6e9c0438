// The text-file operations of the Linux file-system service.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/Attributes.h"
#include "platform/linux/DosAttributes.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/TempFile.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/WriteAll.h"

namespace zv {

namespace {

// Opens a path that must be a regular file; FIFOs and devices are refused
// before they could block.
FsError openRegular(const std::string& path, int flags, UniqueFd& out) {
    out = UniqueFd(open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!out.valid()) return fileOpenError(errno, path);
    struct stat st;
    if (fstat(out.get(), &st) != 0) return errnoError(errno, path, PathRole::File);
    if (!S_ISREG(st.st_mode)) return fsFail(kErrAccessDenied, "Not a regular file: " + path);
    return fsOk();
}

FsError refuseUnlessPlainFile(const std::string& path, std::uint32_t blocking) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return fsOk();
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) return fsOk();
    if (!S_ISREG(st.st_mode)) return fsFail(kErrAccessDenied, "Not a regular file: " + path);
    std::uint32_t recorded = readRecordedBits(path.c_str());
    if (isReadOnly(st.st_mode, recorded)) return fsFail(kErrAccessDenied, "Read-only: " + path);
    if (recorded & blocking) return fsFail(kErrAccessDenied, "Hidden or system file: " + path);
    return fsOk();
}

// The file a link points to is replaced, not the link.
std::string finalTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

}  // namespace

FsError LinuxFileSystem::readTextFile(const std::string& path, std::string& content) {
    content.clear();
    if (FsError e = checkPath(path); e.failed()) return e;
    UniqueFd fd;
    if (FsError e = openRegular(path, O_RDONLY, fd); e.failed()) return e;
    char buffer[65536];
    for (;;) {
        const ssize_t n = TEMP_FAILURE_RETRY(read(fd.get(), buffer, sizeof buffer));
        if (n == -1) return errnoError(errno, path, PathRole::File);
        if (n == 0) return fsOk();
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

FsError LinuxFileSystem::writeFileAtomic(const std::string& path, const std::string& content) {
    if (FsError e = checkPath(path); e.failed()) return e;
    const std::string target = finalTarget(path);
    if (FsError e = refuseUnlessPlainFile(target, 0); e.failed()) return e;
    struct stat old;
    bool existed = ::stat(target.c_str(), &old) == 0;
    std::string temp;
    int err = 0;
    UniqueFd fd = createTempFileIn(folderForTemp(target), 0666, temp, err);
    if (!fd.valid()) return errnoError(err, target, PathRole::Folder);
    err = writeAll(fd.get(), content.data(), content.size());
    if (err == 0 && existed) {
        if (fchmod(fd.get(), old.st_mode & 07777) != 0) err = errno;
        if (err == 0) err = writeRecordedBitsFd(fd.get(), readRecordedBits(target.c_str()));
    }
    if (err == 0) err = sync().flushData(fd.get());
    if (int closeErr = fd.close(); err == 0) err = closeErr;
    if (err == 0) err = sync().rename(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str());
    if (err != 0) {
        unlink(temp.c_str());
        return errnoError(err, target, PathRole::File);
    }
    // The new name itself is on the disk only once its folder is.
    UniqueFd folder(open(folderForTemp(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    err = folder.valid() ? sync().flushFolder(folder.get()) : errno;
    return err == 0 ? fsOk() : errnoError(err, target, PathRole::Folder);
}

FsError LinuxFileSystem::writeTextFile(const std::string& path, const std::string& content) {
    if (FsError e = checkPath(path); e.failed()) return e;
    if (FsError e = refuseUnlessPlainFile(path, kAttrHidden | kAttrSystem); e.failed()) return e;
    UniqueFd fd;
    if (FsError e = openRegular(path, O_WRONLY | O_CREAT | O_TRUNC, fd); e.failed()) return e;
    int err = writeAll(fd.get(), content.data(), content.size());
    if (int closeErr = fd.close(); err == 0) err = closeErr;
    return err == 0 ? fsOk() : errnoError(err, path, PathRole::File);
}

FsError LinuxFileSystem::createNewFile(const std::string& path) {
    if (FsError e = checkPath(path); e.failed()) return e;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return fileOpenError(errno, path);
    close(fd);
    return fsOk();
}

FsError LinuxFileSystem::appendToFile(const std::string& path, const std::string& text) {
    if (FsError e = checkPath(path); e.failed()) return e;
    UniqueFd fd;
    if (FsError e = openRegular(path, O_WRONLY | O_APPEND, fd); e.failed()) return e;
    int err = writeAll(fd.get(), text.data(), text.size());
    if (int closeErr = fd.close(); err == 0) err = closeErr;
    return err == 0 ? fsOk() : errnoError(err, path, PathRole::File);
}

}  // namespace zv
