#pragma once

#include <QMessageBox>

#include "platform/Dialogs.h"

namespace zv::qt {

// Message boxes on the screen. A box carries the application's title, takes
// "\r\n" as a line break, and closing it answers Cancel or No.
class QtDialogs final : public Dialogs {
  public:
    MessageAnswer messageBox(const std::string& text, MessageStyle style) override;
};

// The box for one message, not yet shown (tests look at it).
void SetUpMessageBox(QMessageBox& box, const std::string& text, MessageStyle style);
MessageAnswer AnswerOf(int button);

}  // namespace zv::qt
