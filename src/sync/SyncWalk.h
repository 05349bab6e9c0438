#pragma once

#include <string>

namespace zv {

struct RunContext;

// Removes from the backup the files the source no longer has.
void syncRootFiles(RunContext& run, const std::string& backupRoot, const std::string& sourceRoot);
void syncSubfolders(RunContext& run, const std::string& backupFolder,
                    const std::string& sourceFolder);

// A path with the colon of its drive letter ("C:") taken out, as the dustbin
// keeps paths of another drive.
std::string stripDriveColon(const std::string& path);

}  // namespace zv
