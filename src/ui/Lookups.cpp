// Placeholder until the window lands.
#include "app/frmVergelijker.h"
namespace zv {
void frmVergelijker::GetDriveList() {}
std::string frmVergelijker::GetDesktopName() { return {}; }
std::string frmVergelijker::GetComputerName() { return {}; }
}  // namespace zv
