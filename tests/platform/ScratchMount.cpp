#include "ScratchMount.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace zv::test {

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

namespace {

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

ScratchMount ScratchMount::tmpfs(const std::string& mountPoint, const std::string& size) {
    return inMemory("tmpfs", mountPoint, "size=" + size);
}

ScratchMount ScratchMount::ramfs(const std::string& mountPoint) {
    return inMemory("ramfs", mountPoint, "");
}

ScratchMount ScratchMount::inMemory(const char* type, const std::string& mountPoint,
                                    const std::string& options) {
    ScratchMount m;
    m.mountPoint_ = mountPoint;
    mkdir(mountPoint.c_str(), 0755);
    if (geteuid() != 0) {
        m.why_ = "needs root";
    } else if (mount("zvtest", mountPoint.c_str(), type, 0, options.c_str()) != 0) {
        m.why_ = std::string("mount not permitted: ") + std::strerror(errno);
    } else {
        m.mounted_ = true;
    }
    return m;
}

ScratchMount ScratchMount::image(const std::string& imagePath, const std::string& mountPoint,
                                 const std::string& sizeMiB, const std::string& mkfsCommand) {
    ScratchMount m;
    m.mountPoint_ = mountPoint;
    mkdir(mountPoint.c_str(), 0755);
    if (geteuid() != 0) {
        m.why_ = "needs root";
    } else if (!run("truncate -s " + sizeMiB + "M " + shellQuoted(imagePath)) ||
               !run(mkfsCommand + " " + shellQuoted(imagePath))) {
        m.why_ = "cannot make the image with: " + mkfsCommand;
    } else if (!run("mount -o loop " + shellQuoted(imagePath) + " " + shellQuoted(mountPoint))) {
        m.why_ = "loop mount not permitted";
    } else {
        m.mounted_ = true;
    }
    return m;
}

ScratchMount::ScratchMount(ScratchMount&& other) noexcept
    : mountPoint_(std::move(other.mountPoint_)),
      why_(std::move(other.why_)),
      mounted_(std::exchange(other.mounted_, false)) {}

ScratchMount::~ScratchMount() {
    if (!mounted_) return;
    // A lazy unmount as the last resort, so that a busy mount cannot survive
    // the test and have its content removed with the test folder.
    if (umount(mountPoint_.c_str()) != 0) umount2(mountPoint_.c_str(), MNT_DETACH);
}

}  // namespace zv::test
