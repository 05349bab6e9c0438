#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/FolderHandles.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

// The replacements of a run's copy walks, named in batches. Each new version
// is written without a name; once a batch is full, or the walks end, one
// flush of each file system they are on puts their data on the disk, and
// only then does each take its old file's name: one commit of the disk's
// journal a batch instead of one a file, and still, at every instant, one whole version under
// each name. A folder whose last steps (its times, its bits) come while a
// file of the batch is still to be named in it takes them after the batch.
// Only small files wait: each holds the space of two versions until named.
class ReplacementBatch {
  public:
    static constexpr std::size_t kFiles = 64;
    static constexpr off_t kLargestFile = 1 << 20;

    struct Folder {
        std::string from;  // the source folder
        std::string to;    // the backup folder
    };

    void setOn(bool on) { on_ = on; }
    // Whether a copy (`src` its source's status) waits in the batch: only a
    // small file of one name (a further name is linked to a first copy by
    // its name, which it must have by then).
    bool takes(const struct stat& src) const {
        return on_ && src.st_nlink == 1 && src.st_size < kLargestFile;
    }
    bool full() const { return files_.size() >= kFiles; }

    // Takes `data`, written without a name, to be named `to` (whose folder
    // is held on to); `source` is what a failure names.
    FsError add(UniqueFd data, const PathAt& to, const std::string& source);
    // Whether a file of the batch is to be named in the folder `at`.
    bool holdsIn(const PathAt& at) const;
    void deferFolder(const std::string& from, const std::string& to);

    // Puts each file system of the batch on the disk before naming its files
    // over their old versions, then gives the deferred folders their last
    // steps. A flush that fails names none of its file system's files: each
    // keeps its old version and fails.
    void nameAll(DiskSync& sync, const std::function<FsError(const Folder&)>& finishFolder);
    std::vector<LateFailure> takeFailures();

  private:
    struct File {
        UniqueFd data;
        UniqueFd folder;
        std::string name;
        std::string target;
        std::string source;
        dev_t device;
        ino_t folderId;
    };

    bool on_ = false;
    std::vector<File> files_;
    std::vector<Folder> folders_;
    std::vector<LateFailure> failures_;
};

}  // namespace zv
