#pragma once

#include <string>

namespace zv {

struct RunContext;

// The quick copy: selects source files by their own dates, never comparing
// with the backup.
void quickCopyRoot(RunContext& run, const std::string& Source, const std::string& Destination);
void quickCopySubfolders(RunContext& run, const std::string& Source,
                         const std::string& Destination);

}  // namespace zv
