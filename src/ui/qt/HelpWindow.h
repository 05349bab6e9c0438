#pragma once

#include <QString>
#include <QTextBrowser>

namespace zv::qt {

// The help page: ZandvastHelp.html beside the executable when it is there,
// else the copy built into the program.
QString helpPageSource(const QString& applicationFolder);
QString loadHelpPage(const QString& applicationFolder);

// The help page in a window of its own; Escape closes it.
class HelpWindow : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HelpWindow(const QString& applicationFolder, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zv::qt
