#pragma once

#include <sys/types.h>

#include <string>

#include "platform/Trash.h"

namespace zv {

class FileSystem;

// The desktop trash in the freedesktop.org trash layout, so
// that file managers can show and restore what was put there:
//  - files on the file system of the home trash go to $XDG_DATA_HOME/Trash
//    (default ~/.local/share/Trash), their original path recorded absolute;
//  - files on other volumes go to $topdir/.Trash/$uid when $topdir/.Trash is a
//    real folder with the sticky bit, else to $topdir/.Trash-$uid, their path
//    recorded relative to $topdir (the volume's mount point).
// The .trashinfo record is created first (exclusively, so that two files of
// the same name get distinct names), then the file is renamed into files/.
// A file that cannot be renamed there stays where it is and its record is
// taken back: nothing is ever deleted instead.
class FreedesktopTrash final : public Trash {
  public:
    // `homeDir` and `xdgDataHome` as the environment gives them (either may be
    // empty); `uid` names the per-volume trash folders.
    FreedesktopTrash(FileSystem& fs, std::string homeDir, std::string xdgDataHome, uid_t uid);

    FsError moveToTrash(const std::string& path) override;
    std::vector<std::string> ownFolders() const override { return {homeTrashFolder()}; }

    // The home trash folder, or "" when neither folder is known.
    std::string homeTrashFolder() const;

  private:
    struct Place {
        std::string folder;  // the trash folder holding files/ and info/
        std::string topdir;  // empty for the home trash
    };

    FsError placeFor(const std::string& path, dev_t device, Place& place);
    FsError volumeTrash(const std::string& topdir, Place& place);
    FsError moveInto(const Place& place, const std::string& path);

    FileSystem& fs_;
    std::string homeDir_;
    std::string xdgDataHome_;
    uid_t uid_;
};

}  // namespace zv
