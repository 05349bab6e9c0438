#pragma once

#include <string>

namespace zv {

// The four message-box styles the program uses; none has a title of its own.
enum class MessageStyle { Ok, OkExclamation, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Message boxes. Closing a box with the window's close button answers Cancel
// (or No).
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer messageBox(const std::string& text, MessageStyle style) = 0;
};

}  // namespace zv
