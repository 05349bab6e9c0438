#include "ui/qt/InputBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zv::qt {

namespace {

// Keys that change the text: anything that types, and the editing keys.
bool changesText(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return true;
        default:
            break;
    }
    if (event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut) ||
        event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo))
        return true;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

void InputBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit doubleClicked();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void InputBox::keyPressEvent(QKeyEvent* event) {
    if (changesText(*event) && keyFilter && keyFilter()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void InputBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) emit focusLeft();
}

}  // namespace zv::qt
