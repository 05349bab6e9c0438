// zv_notification_listener OUTFILE COUNT PROGRAM [ARGUMENT...]: a stand-in notification service
// that runs PROGRAM, awaits COUNT notices, writes them "app|icon|summary|body|hints" to OUTFILE.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

namespace {

constexpr int kListenerFailed = 99, kLateNoticeMs = 500, kDeadlineMs = 10000;

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
};

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Listener listener;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (args.size() < 4 ||
        !bus.registerObject("/org/freedesktop/Notifications", &listener,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.Notifications")) {
        std::fputs("zv_notification_listener: geen sessiebus\n", stderr);
        return kListenerFailed;
    }
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setInputChannelMode(QProcess::ForwardedInputChannel);
    int status = kListenerFailed;
    QElapsedTimer sinceEnd;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const qint64 waited = sinceEnd.elapsed();
        if (waited >= (listener.notices.size() >= args[2].toInt() ? kLateNoticeMs : kDeadlineMs))
            app.quit();
    });
    QObject::connect(&program, &QProcess::finished, [&](int code, QProcess::ExitStatus how) {
        status = how == QProcess::NormalExit ? code : kListenerFailed;
        sinceEnd.start();
        poll.start(50);
    });
    program.start(args[3], args.mid(4));
    if (!program.waitForStarted()) return kListenerFailed;
    app.exec();
    QFile file(args[1]);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(listener.notices.join('\n').toUtf8()) >= 0;
    return written ? status : kListenerFailed;
}

#include "NotificationListener.moc"
