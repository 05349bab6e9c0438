// Placeholder until the run driver lands.
#include "app/frmVergelijker.h"
namespace zv {
void frmVergelijker::cmdGo_Click() {}
void frmVergelijker::cmdExit_Click() { UserBreak = true; CloseWindow(); }
}  // namespace zv
