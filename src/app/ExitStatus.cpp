#include "app/AppWindow.h"

namespace zv {

int AppWindow::exitStatus() const {
    if (jobRefused) return 1;
    if (!unattended) return 0;
    if (userBreak && !runCompleted) return 2;
    if (!runCompleted) return 1;
    return counts.failed > 0 ? 3 : 0;
}

}  // namespace zv
