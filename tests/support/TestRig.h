#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "platform/AutomaticDialogs.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv::test {

// Message boxes answered from a script; every box shown is recorded.
struct ScriptedDialogs final : Dialogs {
    struct Shown {
        std::string text;
        MessageStyle style;
    };

    // Answers are taken in order; when none is left, a box gets the safe answer.
    void script(MessageAnswer answer) { answers.push_back(answer); }
    MessageAnswer messageBox(const std::string& text, MessageStyle style) override {
        MessageAnswer answer = AutomaticDialogs::answerFor(style);
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        shown.push_back({text, style});
        return answer;
    }

    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
};

// Counts yields; can run a hook on a chosen yield (to press Exit mid-run).
struct RecordingPump final : EventPump {
    void yield() override {
        if (++yields == hookAt && hook) hook();
    }
    void repaintNow() override { ++repaints; }

    long yields = 0, repaints = 0;
    long hookAt = -1;  // yield number that runs the hook
    std::function<void()> hook;
};

struct ManualClock final : Clock {
    DateTime now() override { return current; }
    DateTime current{};
};

struct RecordingHost final : WindowHost {
    void showDustbinDialog() override {
        ++dustbinDialogs;
        if (onDustbinDialog) onDustbinDialog();
    }
    int dustbinDialogs = 0;
    std::function<void()> onDustbinDialog;
};

struct RecordingProgress final : RunProgress {
    void walkStarted(Walk, const std::string&) override {}
    void fileReached(std::uint64_t bytes) override { bytesReached += bytes; }
    void fileStarted(const std::string& path) override { started.push_back(path); }
    void fileFinished(const std::string& path) override { finished.push_back(path); }
    void countsChanged() override {}

    std::vector<std::string> started, finished;
    std::uint64_t bytesReached = 0;
};

// A trash that only records what it was handed (the file stays).
struct RecordingTrash final : Trash {
    FsError moveToTrash(const std::string& path) override {
        trashed.push_back(path);
        return result;
    }
    std::vector<std::string> trashed;
    FsError result;
};

// A main window on the real file system in a temporary folder, with the recording doubles.
struct TestRig {
    TestRig() {
        makeDirs(appFolder());
        clock.current = SystemClock().now();
        rebuildWindow(fs);
    }

    TempDir root;
    LinuxFileSystem fs;
    ScriptedDialogs dialogs;
    ManualClock clock;
    RecordingPump pump;
    RecordingTrash trash;
    RecordingHost host;
    std::unique_ptr<AppWindow> window;

    AppWindow& w() { return *window; }
    // The window's run context reporting the walks to `progress`, not the window.
    RunContext walkContext() {
        progress = RecordingProgress{};
        const RunContext& r = window->run;
        return RunContext{r.fs,           r.trash,       r.pump,     r.dialogs,
                          r.job,          r.counts,      progress,   r.log,
                          r.userBreak,    r.roots,       r.nextFrom, r.unattended,
                          r.computerName, r.desktopName, r.newFiles, r.filePaths};
    }
    RecordingProgress progress;
    // A fresh window reaching files through `other` (a fault-injecting `fs`, say).
    void rebuildWindow(FileSystem& other) {
        EnvironmentInfo env;
        env.appFolder = appFolder();
        env.desktopPath = root / "Desktop";
        env.computerName = "testhost";
        env.workingFolder = root.path();
        window =
            std::make_unique<AppWindow>(Services{other, dialogs, clock, pump, trash, host, env});
    }
    std::string appFolder() const { return root / "app"; }
    std::vector<std::string> logLines() const { return splitLines(window->log.text()); }
};

}  // namespace zv::test
