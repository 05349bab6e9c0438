#include <QApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/AppWindow.h"
#include "platform/AutomaticDialogs.h"
#include "platform/linux/LinuxPlatform.h"
#include "ui/LaunchOptions.h"
#include "ui/RunEndNotice.h"
#include "ui/qt/AppIdentity.h"
#include "ui/qt/DesktopNotice.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/QtWindowHost.h"

namespace {

std::string envText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool envSet(const char* name) {
    return !envText(name).empty();
}

// Decides how to reach a screen before Qt starts; false: cannot start.
bool prepareDisplay(const std::string& commandLine) {
    const zv::DisplayChoice choice = zv::chooseDisplay(
        commandLine, {envSet("QT_QPA_PLATFORM"), envSet("DISPLAY"), envSet("WAYLAND_DISPLAY")});
    if (choice == zv::DisplayChoice::NoDisplay) {
        std::fputs(
            "zandvast: geen beeldscherm gevonden (DISPLAY en WAYLAND_DISPLAY zijn leeg); "
            "het venster heeft een beeldscherm nodig.\n",
            stderr);
        return false;
    }
    if (choice == zv::DisplayChoice::Offscreen) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}

// Qt's own warnings on a platform nobody sees ("XDG_RUNTIME_DIR not set",
// "does not support propagateSizeHints()") would reach the user only as
// nightly cron mail. The program's own messages do not go through Qt.
// QT_LOGGING_RULES still overrides this for a hunt.
void silenceQtWhereUnseen() {
    if (!zv::isUnseenPlatform(envText("QT_QPA_PLATFORM"))) return;
    QLoggingCategory::setFilterRules(
        QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
}

// The exit status, after telling the desktop about an unattended run that did
// not end well.
int finish(const zv::AppWindow& w) {
    const int status = w.exitStatus();
    const zv::EnvironmentInfo& env = w.svc.env;
    if (const auto notice =
            zv::noticeForRunEnd(env.commandLine, status, env.appFolder + "/Error.Log"))
        zv::qt::showDesktopNotice(*notice);
    return status;
}

bool nobodyCanAnswer() {
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

}  // namespace

int main(int argc, char** argv) {
    zv::LinuxPlatform platform(argc, argv);
    zv::EnvironmentInfo& env = platform.env;
    switch (zv::requestOf(env.commandLine)) {
        case zv::LaunchRequest::PrintVersion:
            std::printf("%s\n", zv::versionLine(env.version).c_str());
            return 0;
        case zv::LaunchRequest::PrintHelp:
            std::fputs(zv::usageText().c_str(), stdout);
            return 0;
        case zv::LaunchRequest::Run:
            break;
    }
    if (!prepareDisplay(env.commandLine)) return 1;
    silenceQtWhereUnseen();

    QApplication app(argc, argv);
    zv::qt::nameApplication();
    zv::qt::loadDutchQtTexts(app);
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty()) env.desktopPath = desktop.toStdString();

    zv::qt::QtEventPump pump;
    zv::qt::QtWindowHost host;
    zv::qt::QtDialogs screenDialogs(&pump);
    zv::AppWindow* logTarget = nullptr;
    zv::AutomaticDialogs automaticDialogs([&logTarget](const std::string& line) {
        if (logTarget) logTarget->log.add(line);
    });
    zv::Dialogs& dialogs =
        nobodyCanAnswer() ? static_cast<zv::Dialogs&>(automaticDialogs) : screenDialogs;

    zv::AppWindow w(
        zv::Services{platform.fs, dialogs, platform.clock, pump, platform.trash, host, env});
    logTarget = &w;
    if (env.outputIsTerminal)
        w.terminal = [](const std::string& line) {
            std::fputs(line.c_str(), stdout);
            std::fflush(stdout);
        };
    zv::qt::MainWindow window(w);
    host.attach(w, &window);
    pump.mirror = [&window] { window.mirror(); };
    pump.repaint = [&window] { window.repaint(); };
    QObject::connect(&window, &zv::qt::MainWindow::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);

    window.runHandler([&w] { w.load(); });
    if (w.ui.closed) return finish(w);
    if (nobodyCanAnswer()) {
        zv::giveUpUnseenWindow(w);
        return finish(w);
    }
    w.ui.visible = true;  // a window that waits for the user is never left hidden
    window.mirror();
    app.exec();
    return finish(w);
}
