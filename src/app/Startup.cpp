// Placeholder until start-up lands.
#include "app/frmVergelijker.h"
namespace zv {
void frmVergelijker::Form_Load() {}
}  // namespace zv
