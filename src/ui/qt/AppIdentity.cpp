#include "ui/qt/AppIdentity.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/qt/DesktopNotice.h"

namespace zv::qt {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Zandvast"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

bool loadDutchQtTexts(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_nl"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace zv::qt
