#include "ui/qt/QtEventPump.h"

#include <QCoreApplication>

namespace zv::qt {

void QtEventPump::yield() {
    if (sinceLastPump_.isValid() && sinceLastPump_.elapsed() < kIntervalMs) return;
    if (mirror) mirror();
    QCoreApplication::processEvents();
    ++pumps_;
    sinceLastPump_.start();
}

void QtEventPump::repaintNow() {
    if (mirror) mirror();
    if (repaint) repaint();
}

}  // namespace zv::qt
