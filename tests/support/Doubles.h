#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/Services.h"

namespace zv::test {

// Message boxes answered from a script; every box shown is recorded.
class ScriptedDialogs final : public Dialogs {
  public:
    struct Shown {
        std::string text;
        MessageStyle style;
        MessageAnswer answer;
    };

    // Answers are taken in order; when none is left, a box gets its default.
    void script(MessageAnswer answer) { answers_.push_back(answer); }
    MessageAnswer messageBox(const std::string& text, MessageStyle style) override {
        MessageAnswer answer = style == MessageStyle::OkCancel ? MessageAnswer::Cancel
                               : style == MessageStyle::YesNo  ? MessageAnswer::No
                                                               : MessageAnswer::Ok;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        shown.push_back({text, style, answer});
        return answer;
    }

    std::vector<Shown> shown;

  private:
    std::deque<MessageAnswer> answers_;
};

// Counts yields; can run a hook on a chosen yield (to press Exit mid-run).
class RecordingPump final : public EventPump {
  public:
    void yield() override {
        if (++yields == hookAt && hook) hook();
    }
    void repaintNow() override { ++repaints; }

    long yields = 0;
    long repaints = 0;
    long hookAt = -1;  // yield number that runs the hook
    std::function<void()> hook;
};

// A clock the test sets.
class ManualClock final : public Clock {
  public:
    DateTime now() override { return current; }
    DateTime current{};
};

class RecordingHost final : public WindowHost {
  public:
    void showDustbinDialog() override {
        ++dustbinDialogs;
        if (onDustbinDialog) onDustbinDialog();
    }
    int dustbinDialogs = 0;
    std::function<void()> onDustbinDialog;
};

}  // namespace zv::test
