// Test helper: a stand-in desktop notification service on the session bus.
//   zv_notification_listener OUTFILE PROGRAM [ARGUMENT...]
// Takes the name org.freedesktop.Notifications, starts PROGRAM (its output
// goes to ours), answers every Notify call while it runs and a moment after,
// then writes one line per notice to OUTFILE ("app|icon|summary|body|hints")
// and ends with PROGRAM's exit status (99: the listener itself failed).
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

namespace {

constexpr int kListenerFailed = 99;
constexpr int kLateNoticeMs = 500;  // a notice sent just before the end

class Listener : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    QStringList notices;

  public slots:
    uint Notify(const QString& app, uint /*replaces*/, const QString& icon, const QString& summary,
                const QString& body, const QStringList& /*actions*/, const QVariantMap& hints,
                int /*timeout*/) {
        QStringList hintTexts;
        for (auto it = hints.begin(); it != hints.end(); ++it)
            hintTexts << it.key() + "=" + it.value().toString();
        notices << QStringList{app, icon, summary, body, hintTexts.join(',')}.join('|');
        return static_cast<uint>(notices.size());
    }
    QStringList GetCapabilities() { return {"body"}; }
};

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

bool Write(const QString& path, const QStringList& lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    for (const QString& line : lines) file.write((line + "\n").toUtf8());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(Quiet);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) return kListenerFailed;
    Listener listener;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/org/freedesktop/Notifications", &listener,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.Notifications")) {
        std::fputs("zv_notification_listener: geen sessiebus\n", stderr);
        return kListenerFailed;
    }
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setInputChannelMode(QProcess::ForwardedInputChannel);
    int status = kListenerFailed;
    QObject::connect(&program, &QProcess::finished, [&](int code, QProcess::ExitStatus how) {
        status = how == QProcess::NormalExit ? code : kListenerFailed;
        QTimer::singleShot(kLateNoticeMs, &app, &QCoreApplication::quit);
    });
    QObject::connect(&program, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    program.start(args[2], args.mid(3));
    app.exec();
    return Write(args[1], listener.notices) ? status : kListenerFailed;
}

#include "NotificationListener.moc"
