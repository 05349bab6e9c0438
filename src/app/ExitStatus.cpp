#include "app/frmVergelijker.h"

namespace zv {

int frmVergelijker::ExitStatus() const {
    if (JobRefused) return 1;
    if (!AutoRun) return 0;
    if (userBreak && !RunCompleted) return 2;
    if (!RunCompleted) return 1;
    return counts.failed > 0 ? 3 : 0;
}

}  // namespace zv
