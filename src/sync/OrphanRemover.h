#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"

namespace zv {

struct RunContext;

enum class OrphanOutcome {
    Removed,  // the file has left the backup
    Left,     // the file stays on purpose (it already lies in the dustbin)
    Failed,   // the file stays because a step failed; the error says which
};

struct OrphanResult {
    OrphanOutcome outcome = OrphanOutcome::Left;
    FsError error;
};

// Removes orphans by the job's dustbin settings: the desktop's trash, a plain
// delete, or a move into the dustbin folder, where each file lands below the
// source path it came from. A file is only deleted after its copy in the
// dustbin folder exists, or is moved there in one step. One remover serves
// one level of the walk.
class OrphanRemover {
  public:
    // `sourceFolder`: the current source folder (its drive names the per-drive
    // folder), as it stands now: the walk's buffer, which a step below
    // extends while the remover is at work, so only its length is kept.
    OrphanRemover(RunContext& run, const std::string& sourceFolder);

    // `path` is the full path of `file`.
    OrphanResult remove(const Entry& file, const std::string& path);

    // How many files were moved or copied into the dustbin folder so far.
    int moves() const { return moves_; }

  private:
    OrphanResult toTrash(const std::string& path);
    OrphanResult toDelete(const std::string& path);
    OrphanResult toDustbin(const Entry& file, const std::string& path);
    bool dustbinPresent() const;
    FsError checkRealPlace(const std::string& folder) const;
    void ensureDriveFolder();
    FsError intoDustbin(const std::string& path, const std::string& target,
                        std::uint32_t attributes, bool& moved);

    RunContext& run_;
    FileSystem& fs_;
    const std::string& sourceFolder_;
    std::size_t sourceLength_;
    std::string dustbin_;  // the dustbin folder, normal form
    bool driveFolderDone_ = false;
    bool trashNoted_ = false;
    int moves_ = 0;
};

}  // namespace zv
