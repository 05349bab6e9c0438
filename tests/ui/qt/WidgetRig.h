#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "support/TestRig.h"
#include "ui/qt/AppIdentity.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtWindowHost.h"

namespace zv::test {

// The one application, kept to the end: Qt cannot be torn down safely among statics at exit.
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test_widgets";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* made = new QApplication(argc, argv);
        qt::nameApplication();
        qt::loadDutchQtTexts(*made);
        return made;
    }();
    return *app;
}

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Runs `action` once the next modal dialog is open, to answer a box or drive a dialog.
inline void WhenModalOpens(std::function<void(QWidget* modal)> action) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && elapsed->elapsed() < 5000) return;
        timer->stop();
        timer->deleteLater();
        if (modal) action(modal);
    });
    timer->start(10);
}

}  // namespace zv::test
