#include "platform/AutomaticDialogs.h"

#include <utility>

namespace zv {

namespace {

const char* answerText(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return "OK";
        case MessageAnswer::Cancel:
            return "Annuleren";
        case MessageAnswer::Yes:
            return "Ja";
        case MessageAnswer::No:
            return "Nee";
    }
    return "";
}

// Every line break (CR LF, LF or CR) becomes " / ".
std::string onOneLine(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            out += text[i];
            continue;
        }
        if (text.compare(i, 2, "\r\n") == 0) ++i;
        out += " / ";
    }
    return out;
}

}  // namespace

AutomaticDialogs::AutomaticDialogs(std::function<void(const std::string&)> logLine)
    : logLine_(std::move(logLine)) {}

MessageAnswer AutomaticDialogs::answerFor(MessageStyle style) {
    switch (style) {
        case MessageStyle::Ok:
        case MessageStyle::OkExclamation:
            return MessageAnswer::Ok;
        case MessageStyle::OkCancel:
            return MessageAnswer::Cancel;
        case MessageStyle::YesNo:
            return MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

std::string AutomaticDialogs::lineFor(const std::string& text, MessageAnswer answer) {
    return "Automatisch beantwoord: \"" + onOneLine(text) + "\" -> " + answerText(answer);
}

MessageAnswer AutomaticDialogs::messageBox(const std::string& text, MessageStyle style) {
    MessageAnswer answer = answerFor(style);
    if (logLine_) logLine_(lineFor(text, answer));
    return answer;
}

}  // namespace zv
