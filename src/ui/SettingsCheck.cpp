// Placeholder until the window lands.
#include "app/frmVergelijker.h"
namespace zv {
bool frmVergelijker::CheckSettings() { return false; }
void frmVergelijker::cmdOK_Click() {}
}  // namespace zv
