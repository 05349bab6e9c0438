#pragma once

#include <string>

namespace zv {

// Error numbers of the file layer. The walks and checks act on these numbers;
// every platform failure is mapped onto one of them.
inline constexpr int kErrNone = 0;
inline constexpr int kErrInvalidArgument = 5;
inline constexpr int kErrTypeMismatch = 13;  // a value that does not convert
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrOtherDrive = 74;  // a move between two file systems
inline constexpr int kErrAccessDenied = 75;
inline constexpr int kErrPathNotFound = 76;
inline constexpr int kErrObjectNotAvailable = 91;

// The outcome of one file-system operation: 0 for success, else an error
// number with a human-readable description. Never dropped unread: a caller
// that means to ignore one says so with (void).
struct [[nodiscard]] FsError {
    int number = kErrNone;
    std::string description;

    bool ok() const { return number == kErrNone; }
    bool failed() const { return number != kErrNone; }
};

// The error of a lookup that found nothing there: "no such file" (53) or a
// path through something that is not a folder (76).
inline bool isAbsence(const FsError& e) {
    return e.number == kErrFileNotFound || e.number == kErrPathNotFound;
}

inline FsError fsOk() {
    return {};
}
inline FsError fsFail(int number, std::string description) {
    return FsError{number, std::move(description)};
}

}  // namespace zv
