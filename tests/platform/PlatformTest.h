#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

inline long entriesIn(const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}

inline struct stat statOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}
inline mode_t modeOf(const std::string& path) {
    return statOf(path).st_mode & 07777;
}

// Extended attributes of the path itself; "-" where it has none.
inline std::string xattrOf(const std::string& path, const std::string& name) {
    char buf[4096];
    const ssize_t n = lgetxattr(path.c_str(), name.c_str(), buf, sizeof buf);
    return n < 0 ? "-" : std::string(buf, static_cast<std::size_t>(n));
}
inline bool setXattr(const std::string& path, const std::string& name, const std::string& value) {
    return lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0;
}

// A file system mounted while this lives (root only); `arg`: a tmpfs's size, an image's mkfs.
class ScratchMount {
  public:
    enum Kind { Tmpfs, Ramfs, Image };
    ScratchMount(std::string mountPoint, Kind kind, const std::string& arg = "")
        : at_(std::move(mountPoint)) {
        mkdir(at_.c_str(), 0755);
        const std::string image = "'" + at_ + ".img'";
        const std::string command = "(truncate -s 8M " + image + " && " + arg + " " + image +
                                    " && mount -o loop " + image + " '" + at_ +
                                    "') >/dev/null 2>&1";
        const std::string options = kind == Tmpfs ? "size=" + arg : "";
        if (geteuid() != 0)
            why_ = "needs root";
        else if (kind == Image ? std::system(command.c_str()) != 0
                               : mount("zvtest", at_.c_str(), kind == Tmpfs ? "tmpfs" : "ramfs", 0,
                                       options.c_str()) != 0)
            why_ = "this machine does not let us mount " + at_;
    }
    ~ScratchMount() {
        if (ok() && umount(at_.c_str()) != 0) umount2(at_.c_str(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    bool ok() const { return why_.empty(); }
    const std::string& path() const { return at_; }
    const std::string& why() const { return why_; }

  private:
    std::string at_, why_;
};

}  // namespace zv::test
