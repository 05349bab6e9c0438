#include "ui/qt/WidgetRig.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace zv::test {

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test_widgets";
    static char* argv[] = {name, nullptr};
    // Made once and kept to the end: Qt cannot be torn down safely among the
    // other statics at exit.
    static QApplication* app = new QApplication(argc, argv);
    QApplication::setApplicationDisplayName("Zandvast & Backup Tool");
    return *app;
}

WidgetRig::WidgetRig() {
    TestApplication();
    rig.host.onDustbinDialog = [this] { qtHost.showDustbinDialog(); };
    window = std::make_unique<qt::MainWindow>(rig.w());
    qtHost.attach(rig.w(), window.get());
}

WidgetRig::~WidgetRig() {
    if (window) window->hide();
    window.reset();
    Pump(5);
}

void WidgetRig::show() {
    window->mirror();
    window->show();
    (void)QTest::qWaitForWindowExposed(window.get());
}

void WhenModalOpens(std::function<void(QWidget* modal)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && elapsed->elapsed() < 5000) return;
        timer->stop();
        timer->deleteLater();
        if (modal) action(modal);
    });
    timer->start();
}

void Pump(int milliseconds) {
    QTest::qWait(milliseconds);
}

}  // namespace zv::test
