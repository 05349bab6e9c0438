#include "support/Doubles.h"

namespace zv::test {

MessageAnswer ScriptedDialogs::messageBox(const std::string& text, MessageStyle style) {
    MessageAnswer answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else if (style == MessageStyle::OkCancel) {
        answer = MessageAnswer::Cancel;
    } else if (style == MessageStyle::YesNo) {
        answer = MessageAnswer::No;
    } else {
        answer = MessageAnswer::Ok;
    }
    shown.push_back({text, style, answer});
    return answer;
}

void RecordingPump::yield() {
    ++yields;
    if (hook && yields == hookAt) hook();
}

}  // namespace zv::test
