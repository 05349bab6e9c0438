#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace zv {

// The folder is there, or `path` (collapsed in place) names a shell place:
// the computer or the desktop.
bool folderExistsOrVirtual(FileSystem& fs, std::string& path, const std::string& computerName,
                           const std::string& desktopName);
// `path` names a shell place (the computer, the desktop), which no folder
// on the disk stands for.
inline bool isShellPlace(const std::string& path, const std::string& computerName,
                         const std::string& desktopName) {
    return path == computerName || path == desktopName;
}

// Makes a folder, with any missing levels above it; 0 when it is there
// afterwards, else 76 (path not found).
int makeFolder(FileSystem& fs, std::string& path);

// Creates every missing level of a folder path, from the root downwards.
// Failures are passed over: a level that cannot be created leaves the deeper
// levels missing, which the caller notices by its own existence test.
void createPath(FileSystem& fs, const std::string& folder);

// The files (and links) in a tree, counted by name: the folder's own files
// plus those of every subfolder except the system folders of the first
// level. A subfolder whose tree cannot be read adds nothing.
std::uint64_t treeFileCount(FileSystem& fs, const std::string& folder);
// treeFileCount in two parts: the folder's own files (the result) and the
// subfolders whose trees count (added to `subfolders`).
std::uint64_t rootFileCount(FileSystem& fs, const std::string& folder,
                            std::vector<std::string>& subfolders);

// On a full disk: asks the user to put in another disk. True for OK.
bool askForAnotherDisk(Dialogs& dialogs);

}  // namespace zv
