#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Attributes.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv::test {

// The real file-system service on a fresh temporary folder.
class PlatformTest : public ::testing::Test {
  protected:
    void link(const std::string& target, const std::string& at) {
        ASSERT_EQ(symlink(target.c_str(), at.c_str()), 0) << at;
    }
    TempDir dir;
    LinuxFileSystem fs;
};

// How many entries a folder holds.
inline long entriesIn(const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

// The permission bits of a path (not following a final link).
inline mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// A small file system mounted for one test (root only) and unmounted when the
// object goes. `ok()` is false where this machine does not allow it; the test
// then skips with `why()`.
class ScratchMount {
  public:
    // Tmpfs: `arg` is its size ("1m"). Ramfs keeps no extended attributes.
    // Image: an 8 MiB loop-mounted image beside the mount point, formatted by
    // the command `arg` (e.g. "mkfs.ext4 -q -L ZVLBL") with the image appended.
    enum Kind { Tmpfs, Ramfs, Image };

    ScratchMount(std::string mountPoint, Kind kind, const std::string& arg = "")
        : at_(std::move(mountPoint)) {
        mkdir(at_.c_str(), 0755);
        const std::string image = "'" + at_ + ".img'";
        const std::string command = "truncate -s 8M " + image + " && " + arg + " " + image +
                                    " && mount -o loop " + image + " '" + at_ + "'";
        const std::string options = kind == Tmpfs ? "size=" + arg : "";
        const char* type = kind == Tmpfs ? "tmpfs" : "ramfs";
        if (geteuid() != 0)
            why_ = "needs root";
        else if (kind == Image ? std::system(("(" + command + ") >/dev/null 2>&1").c_str()) != 0
                               : mount("zvtest", at_.c_str(), type, 0, options.c_str()) != 0)
            why_ = "this machine does not let us mount " + at_;
    }
    // A lazy unmount as the last resort: a busy mount must not survive the
    // test and have its content removed with the test folder.
    ~ScratchMount() {
        if (ok() && umount(at_.c_str()) != 0) umount2(at_.c_str(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool ok() const { return why_.empty(); }
    const std::string& path() const { return at_; }
    const std::string& why() const { return why_; }

  private:
    std::string at_, why_;
};

}  // namespace zv::test
