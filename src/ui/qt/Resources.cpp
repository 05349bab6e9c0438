#include "ui/qt/Resources.h"

#include <QtCore/qglobal.h>

static void initZandvastResources() {
    Q_INIT_RESOURCE(zandvast);
}

namespace zv::qt {

void initResources() {
    static const bool done = (initZandvastResources(), true);
    (void)done;
}

}  // namespace zv::qt
