#pragma once

#include <QMessageBox>

#include "platform/Dialogs.h"
#include "platform/EventPump.h"

namespace zv::qt {

// Message boxes on the screen. A box carries the application's title, takes
// "\r\n" as a line break, and closing it answers Cancel or No. The window is
// brought up to date (through `pump`) before a box asks, so that it shows
// the state the question is about.
class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(EventPump* pump = nullptr) : pump_(pump) {}
    MessageAnswer messageBox(const std::string& text, MessageStyle style) override;

  private:
    EventPump* pump_;
};

// The box for one message, not yet shown (tests look at it).
void setUpMessageBox(QMessageBox& box, const std::string& text, MessageStyle style);
MessageAnswer answerOf(int button);

}  // namespace zv::qt
