#pragma once

#include <QApplication>
#include <memory>

#include "support/TestRig.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtWindowHost.h"

namespace zv::test {

// The one application object every widget test runs in.
QApplication& TestApplication();

// A main window on the screen (offscreen in tests) over a TestRig window
// model. The dustbin dialog opens for real through a QtWindowHost.
class WidgetRig {
  public:
    WidgetRig();
    ~WidgetRig();

    TestRig rig;
    qt::QtWindowHost qtHost;
    std::unique_ptr<qt::MainWindow> window;

    frmVergelijker& w() { return rig.w(); }
    // Shows the window and waits until it is exposed.
    void show();
};

// Runs `action` once the next modal dialog is open (polled from the event
// loop), so a test can answer a box or drive a modal dialog.
void WhenModalOpens(std::function<void(QWidget* modal)> action);

// Lets queued events and timers run for a moment.
void Pump(int milliseconds = 50);

}  // namespace zv::test
