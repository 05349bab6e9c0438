#pragma once

#include <string>

namespace zv {

struct RunContext;

// Removes from the backup the files the source no longer has.
void SyncRootFiles(RunContext& run, const std::string& backupRoot, const std::string& sourceRoot);
void SyncSubfolders(RunContext& run, const std::string& backupFolder,
                    const std::string& sourceFolder);

std::string StrX_Y(const std::string& X, const std::string& Y);
std::string StrTail(const std::string& Root, const std::string& Path);
std::string StripDriveColon(const std::string& Path);

}  // namespace zv
