#pragma once

#include <QString>
#include <QTextBrowser>

namespace zv::qt {

// The help page: ZandvastHelp.html beside the executable when it is there,
// else the copy built into the program.
QString HelpPageSource(const QString& applicationFolder);
QString LoadHelpPage(const QString& applicationFolder);

class HelpWindow : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HelpWindow(const QString& applicationFolder, QWidget* parent = nullptr);
};

}  // namespace zv::qt
