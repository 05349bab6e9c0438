#pragma once

#include <QLineEdit>
#include <functional>

namespace zv::qt {

// A text box that reports double-clicks, lets a filter swallow keys that
// would change its text, and reports losing the focus within its window
// (not to another window or a popup).
class InputBox : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

    // Called for every key that types or edits; true swallows the key.
    std::function<bool()> keyFilter;

  signals:
    void doubleClicked();
    void focusLeft();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace zv::qt
