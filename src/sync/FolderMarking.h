#pragma once

#include <string>

namespace zv {

class FileSystem;

// Folder icons in file browsers: Desktop.ini (Windows, Samba) and .directory
// (KDE). Failures are not reported.
void markDriveFolder(FileSystem& fs, const std::string& folder);    // drive icon
void markDustbinFolder(FileSystem& fs, const std::string& folder);  // dustbin icon
void clearFolderMark(FileSystem& fs, const std::string& folder);

}  // namespace zv
