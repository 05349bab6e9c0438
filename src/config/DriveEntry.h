#pragma once

#include <string>

namespace zv {

class FileSystem;

// One entry of the drive list, "<mount point>:=<volume name>" on Linux.
struct DriveEntry {
    std::string drive;
    std::string label;  // "***" when the volume has no readable name
};

// Splits an entry at its ":=". Both halves may contain ":=" themselves (a
// mount point is often named after its label); when an entry holds more than
// one, the split whose drive part is an existing folder wins, the one with the
// longest such drive part first; when none is, the last ":=" is taken.
DriveEntry splitDriveEntry(FileSystem& fs, const std::string& entry);

}  // namespace zv
