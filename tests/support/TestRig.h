#pragma once

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

// A main window on the real file system, inside its own temporary folder,
// with scripted dialogs, a manual clock and a recording pump. The
// application folder is <root>/app.
class TestRig {
  public:
    TestRig();

    TempDir root;
    LinuxFileSystem fs;
    ScriptedDialogs dialogs;
    ManualClock clock;
    RecordingPump pump;
    RecordingTrash trash;
    RecordingHost host;
    std::unique_ptr<AppWindow> window;

    AppWindow& w() { return *window; }
    // The window's run context, reporting to `progress` instead of the
    // window: what the walks do, without the display.
    RunContext walkContext();
    RecordingProgress progress;
    // Builds a fresh window that reaches files through `other` (for example a
    // fault-injecting wrapper around `fs`).
    void rebuildWindow(FileSystem& other);
    std::string appFolder() const { return root / "app"; }
    // The run log split into lines (without CR LF).
    std::vector<std::string> logLines() const;
};

}  // namespace zv::test
