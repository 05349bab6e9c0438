#include "ui/qt/QtDialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>

namespace zv::qt {

void SetUpMessageBox(QMessageBox& box, const std::string& text, MessageStyle style) {
    QString message = QString::fromStdString(text);
    message.replace("\r\n", "\n");
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
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

MessageAnswer AnswerOf(int button) {
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
    QMessageBox box(QApplication::activeWindow());
    SetUpMessageBox(box, text, style);
    const int button = box.exec();
    if (style == MessageStyle::Ok || style == MessageStyle::OkExclamation) return MessageAnswer::Ok;
    if (style == MessageStyle::YesNo && button != QMessageBox::Yes) return MessageAnswer::No;
    return AnswerOf(button);
}

}  // namespace zv::qt
