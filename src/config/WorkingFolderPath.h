#pragma once

#include <string>

namespace zv {

// A relative path taken against the working folder at start-up; an absolute
// or empty path unchanged.
std::string inWorkingFolder(const std::string& workingFolder, const std::string& path);

class FileSystem;

// A job's root folder is there: the path (relative ones from the working
// folder) leads to a folder, through links where it holds any.
bool leadsToFolder(FileSystem& fs, const std::string& workingFolder, const std::string& path);

}  // namespace zv
