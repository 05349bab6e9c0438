#include "platform/linux/ReplacementBatch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/linux/ErrorMapping.h"
#include "platform/linux/TempFile.h"

namespace zv {

namespace {

// A descriptor of its own for the folder `to` is named in (`name` there),
// whether `to` comes with one or as a whole path.
UniqueFd folderOf(const PathAt& to, std::string& name) {
    const std::string_view path(to.name);
    if (to.dir != AT_FDCWD) {
        name = path;
        return UniqueFd(fcntl(to.dir, F_DUPFD_CLOEXEC, 0));
    }
    const std::size_t cut = path.rfind('/');
    if (cut == std::string_view::npos) {
        name = path;
        return openFolderPath(".");
    }
    name = path.substr(cut + 1);
    return openFolderPath(cut == 0 ? std::string_view("/") : path.substr(0, cut));
}

}  // namespace

FsError ReplacementBatch::add(UniqueFd data, const PathAt& to, const std::string& source) {
    std::string name;
    UniqueFd folder = folderOf(to, name);
    struct stat st;
    if (!folder.valid() || fstat(folder.get(), &st) != 0)
        return errnoError(errno, *to.text, PathRole::Folder);
    files_.push_back(File{std::move(data), std::move(folder), std::move(name), *to.text, source,
                          st.st_dev, st.st_ino});
    return fsOk();
}

bool ReplacementBatch::holdsIn(const PathAt& at) const {
    if (files_.empty()) return false;
    struct stat st;
    if (fstatat(at.dir, at.name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    for (const File& f : files_)
        if (f.device == st.st_dev && f.folderId == st.st_ino) return true;
    return false;
}

void ReplacementBatch::deferFolder(const std::string& from, const std::string& to) {
    folders_.push_back(Folder{from, to});
}

// One flush of each whole file system (a backup may hold another disk's
// mount point): a flush of each file would commit the journal, and send the
// disk a cache flush, once a file. Where one fails, none of its files is
// named (its error may be any of theirs).
void ReplacementBatch::nameAll(DiskSync& sync,
                               const std::function<FsError(const Folder&)>& finishFolder) {
    std::vector<std::pair<dev_t, int>> flushed;  // a file system, and its flush's error
    for (File& f : files_) {
        auto done = std::ranges::find(flushed, f.device, &std::pair<dev_t, int>::first);
        if (done == flushed.end())
            done = flushed.insert(flushed.end(), {f.device, sync.flushFileSystem(f.data.get())});
        const PathAt at{f.folder.get(), f.name.c_str(), &f.target, {}};
        const int err = done->second != 0 ? done->second : nameUnnamedOver(f.data.get(), at, sync);
        if (err != 0)
            failures_.push_back(
                LateFailure{f.source, errnoError(err, f.target, PathRole::File), true});
    }
    files_.clear();
    for (const Folder& folder : std::exchange(folders_, {}))
        if (FsError e = finishFolder(folder); e.failed())
            failures_.push_back(LateFailure{folder.to, e, false});
}

std::vector<LateFailure> ReplacementBatch::takeFailures() {
    return std::exchange(failures_, {});
}

}  // namespace zv
