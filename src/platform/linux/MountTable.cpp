#include "platform/linux/MountTable.h"

#include <blkid/blkid.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/Paths.h"

namespace zv {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Kernel and system file systems that never hold user files.
constexpr std::array<std::string_view, 22> kPseudoTypes = {
    "proc",       "sysfs",      "cgroup",    "cgroup2", "devpts",      "mqueue",
    "devtmpfs",   "securityfs", "debugfs",   "tracefs", "pstore",      "bpf",
    "configfs",   "fusectl",    "hugetlbfs", "autofs",  "binfmt_misc", "efivarfs",
    "rpc_pipefs", "nsfs",       "ramfs",     "squashfs"};

// File systems that hold user files without a block device behind them.
constexpr std::array<std::string_view, 15> kSourcelessTypes = {
    "nfs",        "nfs4",  "cifs",  "smb3",        "smbfs",       "9p",  "virtiofs", "ceph",
    "fuse.sshfs", "sshfs", "davfs", "fuse.davfs2", "fuse.rclone", "zfs", "overlay"};

// The system's own trees: a tmpfs there is scratch space, not a volume.
constexpr std::array<std::string_view, 4> kSystemTrees = {"/proc", "/sys", "/dev", "/run"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, std::string_view value) {
    for (std::string_view item : list)
        if (item == value) return true;
    return false;
}

// The pieces of a text between any of `separators`, empty ones left out.
std::vector<std::string_view> split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(separators, pos);
        if (end == std::string_view::npos) end = text.size();
        if (end > pos) out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::vector<std::string_view> fields(std::string_view line) {
    return split(line, " \t");
}

// "id parent major:minor root mountpoint options [optional...] - type source super"
bool parseLine(std::string_view line, MountEntry& out) {
    std::vector<std::string_view> f = fields(line);
    std::size_t dash = 6;
    while (dash < f.size() && f[dash] != "-") ++dash;
    if (dash + 2 >= f.size()) return false;  // also a line of fewer than 5 fields
    out.mountPoint = unescapeOctal(f[4]);
    out.fsType = unescapeOctal(f[dash + 1]);
    out.source = unescapeOctal(f[dash + 2]);
    return !out.mountPoint.empty();
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool inSystemTree(std::string_view mountPoint) {
    for (std::string_view tree : kSystemTrees)
        if (pathIsWithin(mountPoint, tree)) return true;
    return false;
}

// A bind-mounted single file (as containers have for /etc/hosts) is no volume.
bool isFileMount(const std::string& mountPoint) {
    struct stat st;
    return lstat(mountPoint.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string resolved(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

bool sameDevice(const std::string& linkTarget, const std::string& source) {
    if (linkTarget == source) return true;
    std::string a = resolved(linkTarget);
    return !a.empty() && a == resolved(source);
}

std::string labelFromByLabelDir(const std::string& dir, const std::string& device) {
    std::unique_ptr<DIR, DirCloser> d(opendir(dir.c_str()));
    if (!d) return {};
    std::string deviceText = normalisedAbsolute(device, "/");
    while (dirent* e = readdir(d.get())) {
        std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        char target[4096];
        std::string linkPath = dir + "/" + e->d_name;
        ssize_t n = readlink(linkPath.c_str(), target, sizeof target - 1);
        if (n <= 0) continue;
        std::string targetPath = normalisedAbsolute(std::string_view(target, n), dir);
        if (sameDevice(targetPath, deviceText)) return unescapeHex(name);
    }
    return {};
}

std::string labelFromSuperblock(const std::string& device) {
    blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
    if (!probe) return {};
    std::string label;
    blkid_probe_enable_superblocks(probe, 1);
    const char* value = nullptr;
    std::size_t length = 0;
    if (blkid_do_safeprobe(probe) == 0 &&
        blkid_probe_lookup_value(probe, "LABEL", &value, &length) == 0 && value)
        label = value;
    blkid_free_probe(probe);
    return label;
}

}  // namespace

std::string unescapeOctal(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string unescapeHex(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            hexValue(name[i + 2]) >= 0 && hexValue(name[i + 3]) >= 0) {
            out += static_cast<char>(hexValue(name[i + 2]) * 16 + hexValue(name[i + 3]));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> out;
    for (std::string_view line : split(text, "\n")) {
        MountEntry entry;
        if (parseLine(line, entry)) out.push_back(std::move(entry));
    }
    return out;
}

bool readMountTable(const std::string& mountInfoPath, std::vector<MountEntry>& out) {
    std::ifstream in(mountInfoPath, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = parseMountInfo(text.str());
    return true;
}

bool holdsUserFiles(const MountEntry& mount) {
    if (contains(kPseudoTypes, mount.fsType)) return false;
    if (mount.fsType == "tmpfs") return !inSystemTree(mount.mountPoint);
    if (mount.source.starts_with("/dev/")) return true;
    return contains(kSourcelessTypes, mount.fsType);
}

std::vector<MountEntry> userMounts(const std::vector<MountEntry>& all) {
    std::vector<MountEntry> out;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const MountEntry& m = all[i];
        bool coveredLater = false;
        for (std::size_t j = i + 1; j < all.size() && !coveredLater; ++j)
            coveredLater = all[j].mountPoint == m.mountPoint;
        if (!coveredLater && holdsUserFiles(m) && !isFileMount(m.mountPoint)) out.push_back(m);
    }
    return out;
}

const MountEntry* mountHolding(const std::vector<MountEntry>& all, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& m : all) {
        if (!pathIsWithin(path, m.mountPoint)) continue;
        if (!best || m.mountPoint.size() >= best->mountPoint.size()) best = &m;
    }
    return best;
}

std::vector<std::string> parseFstabMountPoints(std::string_view text) {
    std::vector<std::string> out;
    for (std::string_view line : split(text, "\n")) {
        const std::vector<std::string_view> f = fields(line);
        if (f.size() < 3 || f[0].front() == '#') continue;
        const std::string point = normalisedAbsolute(unescapeOctal(f[1]), "/");
        if (!isAbsolutePath(f[1]) || point == "/" || f[2] == "swap") continue;
        out.push_back(point);
    }
    return out;
}

std::string missingDiskFolder(const std::vector<MountEntry>& mounts,
                              const std::vector<std::string>& fstabPoints,
                              const std::vector<std::string>& removableRoots,
                              std::string_view path) {
    const auto mountedAt = [&](const std::string& point) {
        for (const MountEntry& m : mounts)
            if (m.mountPoint == point) return true;
        return false;
    };
    for (const std::string& point : fstabPoints)
        if (pathIsWithin(path, point) && !mountedAt(point)) return point;
    const MountEntry* holding = mountHolding(mounts, path);
    for (const std::string& root : removableRoots) {
        if (!pathIsWithin(path, root) || path.size() == root.size()) continue;
        // Some disk must be mounted strictly below the removable-media folder.
        if (!holding || holding->mountPoint.size() <= root.size() ||
            !pathIsWithin(holding->mountPoint, root))
            return std::string(path);
    }
    return {};
}

std::string labelOf(const MountEntry& mount, const MountSources& sources) {
    if (!isAbsolutePath(mount.source)) return {};
    std::string label = labelFromByLabelDir(sources.byLabelDir, mount.source);
    if (label.empty() && sources.useBlkid && mount.source.starts_with("/dev/"))
        label = labelFromSuperblock(mount.source);
    return label;
}

}  // namespace zv
