#include "ui/qt/Resources.h"

#include <QtCore/qglobal.h>

static void InitZandvastResources() {
    Q_INIT_RESOURCE(zandvast);
}

namespace zv::qt {

void InitResources() {
    static const bool done = (InitZandvastResources(), true);
    (void)done;
}

}  // namespace zv::qt
