// Placeholder until the configuration lands.
#include "app/frmVergelijker.h"
namespace zv {
std::string frmVergelijker::DriveLetterPath(const std::string& StrPathIn) { return StrPathIn; }
std::string frmVergelijker::PathRoot(const std::string& path) { return path; }
}  // namespace zv
