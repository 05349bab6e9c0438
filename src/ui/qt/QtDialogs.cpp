#include "ui/qt/QtDialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QSpacerItem>

#include "ui/qt/AppIdentity.h"

namespace zv::qt {

namespace {

// A box as wide as its title needs beside the window manager's buttons, so
// the title bar never shortens it.
void makeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int width = metrics.horizontalAdvance(box.windowTitle()) * 5 / 4 + metrics.height() * 8;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void setUpMessageBox(QMessageBox& box, const std::string& text, MessageStyle style) {
    QString message = QString::fromStdString(text);
    message.replace("\r\n", "\n");
    box.setWindowTitle(QString::fromUtf8(kAppTitle));
    box.setTextFormat(Qt::PlainText);
    box.setText(message);
    switch (style) {
        case MessageStyle::Ok:
        case MessageStyle::OkExclamation:
            box.setIcon(style == MessageStyle::Ok ? QMessageBox::NoIcon : QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MessageStyle::OkCancel:
            box.setIcon(QMessageBox::NoIcon);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageStyle::YesNo:
            box.setIcon(QMessageBox::NoIcon);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
    }
}

MessageAnswer answerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

MessageAnswer QtDialogs::messageBox(const std::string& text, MessageStyle style) {
    if (pump_) pump_->repaintNow();
    QMessageBox box(QApplication::activeWindow());
    setUpMessageBox(box, text, style);
    makeRoomForTitle(box);
    const int button = box.exec();
    if (style == MessageStyle::Ok || style == MessageStyle::OkExclamation) return MessageAnswer::Ok;
    if (style == MessageStyle::YesNo && button != QMessageBox::Yes) return MessageAnswer::No;
    return answerOf(button);
}

}  // namespace zv::qt
