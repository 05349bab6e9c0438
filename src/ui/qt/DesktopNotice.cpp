#include "ui/qt/DesktopNotice.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace zv::qt {

namespace {

// Asking for the session bus without one known makes D-Bus try to start one
// through X11 (autolaunch). The runtime folder's bus counts as D-Bus takes it:
// a socket of this user's, not a link.
bool sessionBusKnown() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat bus {};
    return !runtime.isEmpty() && lstat((runtime + "/bus").constData(), &bus) == 0 &&
           S_ISSOCK(bus.st_mode) && bus.st_uid == getuid();
}

}  // namespace

void showDesktopNotice(const RunEndNotice& notice) {
    if (!sessionBusKnown()) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", "Notify");
    const QString id = QString::fromLatin1(kDesktopId);
    call << QStringLiteral("Zandvast") << 0u << id << QString::fromStdString(notice.summary)
         << QString::fromStdString(notice.body) << QStringList()
         << QVariantMap{{"desktop-entry", id}} << -1;
    bus.send(call);  // the answer (the notice's number) is of no use
}

}  // namespace zv::qt
