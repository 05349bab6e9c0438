#include "platform/linux/DosAttributes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/Attributes.h"
#include "platform/linux/ErrorMapping.h"

namespace zv {

namespace {

constexpr std::uint32_t kFileRecorded = kAttrHidden | kAttrSystem | kAttrArchive;
constexpr std::size_t kValueMax = 256;

// getxattrat(2) (Linux 6.13); older kernels answer ENOSYS. System-call
// numbers from 424 on are the same on every architecture but alpha.
#if defined(SYS_getxattrat)
constexpr long kGetxattrat = SYS_getxattrat;
#elif defined(__x86_64__) || defined(__aarch64__) || defined(__riscv) || defined(__i386__)
constexpr long kGetxattrat = 464;
#else
constexpr long kGetxattrat = -1;  // the kernel answers ENOSYS, as an old one does
#endif

struct XattrArgs {
    std::uint64_t value;
    std::uint32_t size;
    std::uint32_t flags;
};

std::uint32_t fromBuffer(ssize_t n, const char* buf) {
    if (n <= 0) return 0;
    return parseDosAttrib(std::string_view(buf, static_cast<std::size_t>(n)));
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::uint32_t recordableBits(bool isFolder) {
    return isFolder ? kFileRecorded | kAttrReadOnly : kFileRecorded;
}

// The value may be followed by a NUL and further binary data; only the text
// before the NUL counts.
std::uint32_t parseDosAttrib(std::string_view value) {
    if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
    std::uint32_t bits = 0;
    for (std::size_t i = 2; i < value.size() && value[i] != '\0'; ++i) {
        int digit = hexDigit(value[i]);
        if (digit < 0 || bits > 0x0fffffffu) return 0;
        bits = bits * 16 + static_cast<std::uint32_t>(digit);
    }
    return bits;
}

std::string formatDosAttrib(std::uint32_t bits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", bits);
    return buf;
}

std::uint32_t readRecordedBits(const char* path) {
    char buf[kValueMax];
    return fromBuffer(lgetxattr(path, kDosAttribName, buf, sizeof buf), buf);
}

std::uint32_t readRecordedBitsFd(int fd) {
    char buf[kValueMax];
    return fromBuffer(fgetxattr(fd, kDosAttribName, buf, sizeof buf), buf);
}

bool readRecordedBitsAt(int dirFd, const char* name, std::uint32_t& bits) {
    char buf[kValueMax];
    XattrArgs args{reinterpret_cast<std::uintptr_t>(buf), sizeof buf, 0};
    long n =
        syscall(kGetxattrat, dirFd, name, AT_SYMLINK_NOFOLLOW, kDosAttribName, &args, sizeof args);
    if (n < 0 && (errno == ENOSYS || errno == EINVAL || errno == E2BIG)) return false;
    bits = fromBuffer(n, buf);
    return true;
}

std::uint32_t readRecordedBitsOf(const PathAt& p) {
    std::uint32_t bits = 0;
    if (readRecordedBitsAt(p.dir, p.name, bits)) return bits;
    return readRecordedBits(callablePath(p).c_str());
}

int writeRecordedBits(const char* path, std::uint32_t bits) {
    int rc;
    if (bits == 0) {
        rc = lremovexattr(path, kDosAttribName);
        if (rc != 0 && errno == ENODATA) return 0;
    } else {
        std::string text = formatDosAttrib(bits);
        rc = lsetxattr(path, kDosAttribName, text.data(), text.size(), 0);
    }
    if (rc == 0 || isUnsupported(errno)) return 0;
    return errno;
}

int writeRecordedBitsFd(int fd, std::uint32_t bits) {
    if (bits == 0) return 0;
    std::string text = formatDosAttrib(bits);
    if (fsetxattr(fd, kDosAttribName, text.data(), text.size(), 0) == 0) return 0;
    return isUnsupported(errno) ? 0 : errno;
}

std::uint32_t composeAttributes(mode_t mode, std::string_view name, std::uint32_t recorded) {
    std::uint32_t attributes = 0;
    if (S_ISDIR(mode)) {
        attributes = kAttrDirectory | (recorded & recordableBits(true));
    } else if (S_ISREG(mode)) {
        attributes = recorded & (kFileRecorded | kAttrReadOnly);
        if (isReadOnly(mode, recorded)) attributes |= kAttrReadOnly;
    }
    if (!name.empty() && name.front() == '.') attributes |= kAttrHidden;
    return attributes;
}

bool isReadOnly(mode_t mode, std::uint32_t recorded) {
    if (recorded & kAttrReadOnly) return true;
    return S_ISREG(mode) && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace zv
