#pragma once

#include <functional>
#include <string>

#include "platform/Dialogs.h"

namespace zv {

// Answers message boxes when nobody can: OK to information, the safe choice
// (Cancel, No) to every question. Each box leaves one line, with the question
// and the answer given, through `logLine`.
class AutomaticDialogs final : public Dialogs {
  public:
    explicit AutomaticDialogs(std::function<void(const std::string&)> logLine);

    MessageAnswer messageBox(const std::string& text, MessageStyle style) override;

    // The answer given to a box of this style.
    static MessageAnswer answerFor(MessageStyle style);
    // The line logged for a box: the text on one line and the answer.
    static std::string lineFor(const std::string& text, MessageAnswer answer);

  private:
    std::function<void(const std::string&)> logLine_;
};

}  // namespace zv
