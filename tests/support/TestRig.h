#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/Doubles.h"
#include "support/TempDir.h"

namespace zv::test {

// What the walks report, recorded.
class RecordingProgress final : public RunProgress {
  public:
    void walkStarted(Walk walk, const std::string& root) override { walks.push_back({walk, root}); }
    void fileReached(std::uint64_t bytes, bool) override {
        ++filesReached;
        bytesReached += bytes;
    }
    void fileStarted(const std::string& path) override { started.push_back(path); }
    void fileFinished(const std::string& path) override { finished.push_back(path); }
    void countsChanged() override { ++countChanges; }

    std::vector<std::pair<Walk, std::string>> walks;
    std::vector<std::string> started, finished;
    long filesReached = 0, countChanges = 0;
    std::uint64_t bytesReached = 0;
};

// A trash that only records what it was handed (the file stays).
class RecordingTrash final : public Trash {
  public:
    FsError moveToTrash(const std::string& path) override {
        trashed.push_back(path);
        return result;
    }
    std::vector<std::string> trashed;
    FsError result;
};

// A main window on the real file system in its own temporary folder (the
// application folder is <root>/app), with the recording doubles.
class TestRig {
  public:
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
        return RunContext{r.fs,       r.trash,      r.pump,         r.dialogs,    r.job,
                          r.counts,   progress,     r.log,          r.userBreak,  r.roots,
                          r.nextFrom, r.unattended, r.computerName, r.desktopName};
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
    // The run log split into lines (without CR LF).
    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        const std::string& log = window->log.text();
        for (std::size_t start = 0, end; start < log.size(); start = end + 2) {
            end = std::min(log.find("\r\n", start), log.size());
            lines.push_back(log.substr(start, end - start));
        }
        return lines;
    }
};

}  // namespace zv::test
