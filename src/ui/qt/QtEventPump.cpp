#include "ui/qt/QtEventPump.h"

#include <QCoreApplication>

namespace zv::qt {

void QtEventPump::yield() {
    if (sinceLastPump_.isValid() && sinceLastPump_.elapsed() < kIntervalMs) return;
    if (!sinceLastMirror_.isValid() || sinceLastMirror_.elapsed() >= kMirrorIntervalMs) {
        if (mirror) mirror();
        ++mirrors_;
        sinceLastMirror_.start();
    }
    QCoreApplication::processEvents();
    ++pumps_;
    sinceLastPump_.start();
}

void QtEventPump::repaintNow() {
    if (mirror) mirror();
    if (repaint) repaint();
}

}  // namespace zv::qt
