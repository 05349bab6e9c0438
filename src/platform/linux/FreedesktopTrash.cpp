#include "platform/linux/FreedesktopTrash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

#include "platform/DateText.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/WriteAll.h"

namespace zv {

namespace {

constexpr mode_t kPrivateFolder = 0700;
constexpr int kMaxNameAttempts = 10000;

// The device a folder would be created on: that of its nearest existing
// ancestor (symbolic links followed, as the trash will be reached through them).
bool deviceOfNearest(std::string path, dev_t& device) {
    struct stat st {};
    while (!path.empty()) {
        if (::stat(path.c_str(), &st) == 0) {
            device = st.st_dev;
            return true;
        }
        path = parentOfPath(path);
    }
    return false;
}

// A real folder (not a symbolic link) that belongs to `uid`.
bool isOwnFolder(const std::string& path, uid_t uid) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid;
}

FsError makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), kPrivateFolder) == 0 || errno == EEXIST) return fsOk();
    return errnoError(errno, path, PathRole::Folder);
}

FsError makeFolders(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) == 0) return fsOk();
    if (FsError e = makeFolders(parentOfPath(path)); e.failed()) return e;
    return makeFolder(path);
}

// Unreserved characters and "/" stay; every other byte becomes %XX.
std::string percentEncoded(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                          (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' ||
                          byte == '.' || byte == '~' || byte == '/';
        if (keep) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

std::string localDeletionDate() {
    return formatIsoDateTime(
        std::chrono::time_point_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now()));
}

// "name.ext" for the first attempt, then "name.2.ext", "name.3.ext", ...
std::string candidateName(std::string_view name, int attempt) {
    std::string out(name);
    if (attempt == 1) return out;
    std::string counter = ".";
    counter += std::to_string(attempt);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        out.append(counter);
    else
        out.insert(dot, counter);
    return out;
}

FsError writeRecord(int fd, const std::string& record, const std::string& path) {
    if (int err = writeAll(fd, record.data(), record.size()))
        return errnoError(err, path, PathRole::File);
    return fsOk();
}

// The home trash records absolute paths; a volume trash records them
// relative to the volume's mount point.
std::string recordedPath(const std::string& path, const std::string& topdir) {
    if (topdir.empty()) return path;
    return relativeTo(path, topdir).value_or(path);
}

// The path through its folder's real path: a folder link on the way may lead
// to another volume, whose trash is the one to use.
std::string realLocation(const std::string& path) {
    const std::string folder = parentOfPath(path);
    if (folder.empty()) return path;
    std::unique_ptr<char, decltype(&std::free)> real(realpath(folder.c_str(), nullptr), &std::free);
    if (!real) return path;
    return joinPath(real.get(), lastComponent(path));
}

// Renames without replacing anything already in files/.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

FreedesktopTrash::FreedesktopTrash(FileSystem& fs, std::string homeDir, std::string xdgDataHome,
                                   uid_t uid)
    : fs_(fs), homeDir_(std::move(homeDir)), xdgDataHome_(std::move(xdgDataHome)), uid_(uid) {}

std::string FreedesktopTrash::homeTrashFolder() const {
    if (isAbsolutePath(xdgDataHome_)) return joinPath(xdgDataHome_, "Trash");
    if (isAbsolutePath(homeDir_)) return joinPath(joinPath(homeDir_, ".local/share"), "Trash");
    return {};
}

FsError FreedesktopTrash::moveToTrash(const std::string& path) {
    const std::string absolute = realLocation(fs_.absolutePath(path));
    struct stat st {};
    if (::lstat(absolute.c_str(), &st) != 0) return errnoError(errno, absolute, PathRole::File);
    if (S_ISDIR(st.st_mode))
        return fsFail(kErrInvalidArgument, "only files are put in the trash: " + absolute);
    Place place;
    if (FsError e = placeFor(absolute, st.st_dev, place); e.failed()) return e;
    if (FsError e = makeFolder(joinPath(place.folder, "files")); e.failed()) return e;
    if (FsError e = makeFolder(joinPath(place.folder, "info")); e.failed()) return e;
    return moveInto(place, absolute);
}

FsError FreedesktopTrash::placeFor(const std::string& path, dev_t device, Place& place) {
    const std::string home = homeTrashFolder();
    dev_t homeDevice{};
    if (!home.empty() && deviceOfNearest(home, homeDevice) && homeDevice == device) {
        place.folder = home;
        return makeFolders(home);
    }
    const std::string topdir = fs_.driveName(path);
    struct stat top {};
    if (topdir.empty() || ::stat(topdir.c_str(), &top) != 0 || top.st_dev != device)
        return fsFail(kErrObjectNotAvailable, "no trash folder on the volume of " + path);
    place.topdir = topdir;
    return volumeTrash(topdir, place);
}

// The administrator's shared $topdir/.Trash (a real folder with the sticky
// bit) holds one folder per user; otherwise the user's own $topdir/.Trash-$uid.
FsError FreedesktopTrash::volumeTrash(const std::string& topdir, Place& place) {
    const std::string shared = joinPath(topdir, ".Trash");
    struct stat st {};
    if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const std::string own = joinPath(shared, std::to_string(uid_));
        if (makeFolder(own).ok() && isOwnFolder(own, uid_)) {
            place.folder = own;
            return fsOk();
        }
    }
    const std::string own = joinPath(topdir, ".Trash-" + std::to_string(uid_));
    if (FsError e = makeFolder(own); e.failed()) return e;
    if (!isOwnFolder(own, uid_))
        return fsFail(kErrAccessDenied, "not a trash folder of this user: " + own);
    place.folder = own;
    return fsOk();
}

FsError FreedesktopTrash::moveInto(const Place& place, const std::string& path) {
    const std::string recorded = recordedPath(path, place.topdir);
    const std::string record = "[Trash Info]\nPath=" + percentEncoded(recorded) +
                               "\nDeletionDate=" + localDeletionDate() + "\n";
    const std::string_view name = lastComponent(path);
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const std::string trashName = candidateName(name, attempt);
        const std::string info = joinPath(joinPath(place.folder, "info"), trashName + ".trashinfo");
        UniqueFd fd(::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd.valid() && errno == EEXIST) continue;
        if (!fd.valid()) return errnoError(errno, info, PathRole::File);
        FsError pending = writeRecord(fd.get(), record, info);
        if (pending.ok()) {
            const int closeError = fd.close();
            if (closeError != 0) pending = errnoError(closeError, info, PathRole::File);
        }
        if (pending.failed()) {
            ::unlink(info.c_str());
            return pending;
        }
        const int err = renameNoReplace(path, joinPath(joinPath(place.folder, "files"), trashName));
        if (err == 0) return fsOk();
        ::unlink(info.c_str());
        if (err != EEXIST) return errnoError(err, path, PathRole::File);
    }
    return fsFail(kErrObjectNotAvailable, "no free name in the trash for " + path);
}

}  // namespace zv
