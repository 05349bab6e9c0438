#pragma once

#include <string>

namespace zv {

struct RunContext;

// Removes from the backup the files the source no longer has.
void syncRootFiles(RunContext& run, const std::string& backupRoot, const std::string& sourceRoot);
void syncSubfolders(RunContext& run, const std::string& backupFolder,
                    const std::string& sourceFolder);

std::string remainderAfter(const std::string& X, const std::string& Y);
std::string strTail(const std::string& Root, const std::string& Path);
std::string stripDriveColon(const std::string& Path);

}  // namespace zv
