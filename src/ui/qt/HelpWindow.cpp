#include "ui/qt/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

#include "ui/qt/Resources.h"

namespace zv::qt {

namespace {
const QString kBuiltIn = QStringLiteral(":/ZandvastHelp.html");
}

QString helpPageSource(const QString& applicationFolder) {
    const QString beside = applicationFolder + "/ZandvastHelp.html";
    return QFileInfo(beside).isFile() ? beside : kBuiltIn;
}

QString loadHelpPage(const QString& applicationFolder) {
    initResources();
    QFile file(helpPageSource(applicationFolder));
    if (!file.open(QIODevice::ReadOnly)) {
        QFile builtIn(kBuiltIn);
        if (!builtIn.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(builtIn.readAll());
    }
    return QString::fromUtf8(file.readAll());
}

HelpWindow::HelpWindow(const QString& applicationFolder, QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Zandvast & Backup Tool - Help"));
    setOpenExternalLinks(true);
    setHtml(loadHelpPage(applicationFolder));
    const int line = fontMetrics().height();
    resize(line * 40, line * 36);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

}  // namespace zv::qt
