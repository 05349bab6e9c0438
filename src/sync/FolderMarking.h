#pragma once

#include <string>

namespace zv {

class FileSystem;

// Folder icons in file browsers: Desktop.ini (Windows, Samba) and .directory
// (KDE). Failures are not reported.
void markDriveFolder(FileSystem& fs, const std::string& StrStation);  // drive icon
void markDustbinFolder(FileSystem& fs, const std::string& StrDustB);  // dustbin icon
void clearFolderMark(FileSystem& fs, const std::string& folder);

}  // namespace zv
