#include "platform/linux/FileMetadata.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/linux/DosAttributes.h"
#include "platform/linux/ErrorMapping.h"

namespace zv {

namespace {

// First buffers: most lists and values (ACLs, DOS attributes, labels) fit;
// a longer one is asked for its size.
constexpr std::size_t kListBuffer = 1024;
constexpr std::size_t kValueBuffer = 256;
constexpr std::string_view kAclAccess = "system.posix_acl_access";
constexpr std::string_view kAclDefault = "system.posix_acl_default";
constexpr std::string_view kCapability = "security.capability";

// Asked once: a copy may not cost a system call more than it needs.
bool isRoot() {
    static const bool root = geteuid() == 0;
    return root;
}

// The attributes a copy carries (the recorded bits aside). Trusted and
// security labels belong to the machine, not to the file.
bool carried(std::string_view name, bool isFolder) {
    if (name == kDosAttribName) return false;
    if (name.starts_with("user.") || name == kAclAccess) return true;
    if (name == kAclDefault) return isFolder;
    return name == kCapability && !isFolder && isRoot();
}

// Errors of a target that cannot hold an attribute: no support, not allowed,
// a value too large for it.
bool notKeepable(int err) {
    return isUnsupported(err) || err == EPERM || err == E2BIG || err == ERANGE;
}

// The NUL-separated names of an open file's extended attributes; empty where
// it has none or its file system keeps none. Returns 0 or an errno value.
int listNames(int fd, std::string& names) {
    names.resize(kListBuffer);
    for (;;) {
        ssize_t n = flistxattr(fd, names.data(), names.size());
        if (n >= 0) {
            names.resize(static_cast<std::size_t>(n));
            return 0;
        }
        names.clear();
        if (isUnsupported(errno)) return 0;
        if (errno != ERANGE) return errno;
        n = flistxattr(fd, nullptr, 0);
        if (n < 0) return errno;
        names.resize(static_cast<std::size_t>(n) + kListBuffer);
    }
}

// One attribute's value. Returns 0, ENODATA or another errno value.
int readValue(int fd, const char* name, std::string& value) {
    value.resize(kValueBuffer);
    for (;;) {
        ssize_t n = fgetxattr(fd, name, value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return 0;
        }
        if (errno != ERANGE) return errno;
        n = fgetxattr(fd, name, nullptr, 0);
        if (n < 0) return errno;
        value.resize(static_cast<std::size_t>(n) + kValueBuffer);
    }
}

// Calls `f` with each name of a NUL-separated list, as a C string and a view.
template <typename F>
void forEachName(std::string_view names, F&& f) {
    while (!names.empty()) {
        const std::string_view name = names.substr(0, names.find('\0'));
        f(name.data(), name);
        names.remove_prefix(std::min(name.size() + 1, names.size()));
    }
}

std::uint32_t unkeptKind(std::string_view name) {
    return name.starts_with("system.posix_acl_") ? kUnkeptAcls : kUnkeptXattrs;
}

// Removes from `out` the carried attributes the source does not have.
int removeStale(int out, const std::string& sourceNames, bool isFolder, bool& changed) {
    std::string names;
    if (int err = listNames(out, names)) return err;
    int result = 0;
    forEachName(names, [&](const char* name, std::string_view view) {
        if (result != 0 || !carried(view, isFolder)) return;
        bool inSource = false;
        forEachName(sourceNames, [&](const char*, std::string_view s) { inSource |= s == view; });
        if (inSource) return;
        if (fremovexattr(out, name) == 0)
            changed = true;
        else if (errno != ENODATA)
            result = errno;
    });
    return result;
}

}  // namespace

void copyOwner(int out, const struct stat& src, std::uint32_t& unkept) {
    if (isRoot()) {
        if (fchown(out, src.st_uid, src.st_gid) != 0) unkept |= kUnkeptOwner;
        return;
    }
    (void)fchown(out, static_cast<uid_t>(-1), src.st_gid);
}

int copyExtendedAttributes(int in, int out, bool isFolder, bool existing, std::uint32_t& unkept,
                           bool& changed) {
    changed = false;
    std::string names;
    if (int err = listNames(in, names)) return err;
    std::string value;
    std::string old;
    bool recorded = false;
    int result = 0;
    forEachName(names, [&](const char* name, std::string_view view) {
        if (result != 0) return;
        if (view == kDosAttribName) recorded = true;
        if (!carried(view, isFolder)) return;
        if (int err = readValue(in, name, value)) {
            if (err != ENODATA) result = err;  // ENODATA: removed since it was listed
            return;
        }
        if (existing && readValue(out, name, old) == 0 && old == value) return;
        if (fsetxattr(out, name, value.data(), value.size(), 0) == 0) {
            changed = true;
        } else if (notKeepable(errno)) {
            unkept |= unkeptKind(view);
        } else {
            result = errno;
        }
    });
    if (result != 0) return result;
    if (existing) {
        if (int err = removeStale(out, names, isFolder, changed)) return err;
    }
    if (recorded && !isFolder) return writeRecordedBitsFd(out, readRecordedBitsFd(in));
    return 0;
}

}  // namespace zv
