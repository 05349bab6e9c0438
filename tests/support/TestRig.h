#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/frmVergelijker.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/Doubles.h"
#include "support/TempDir.h"

namespace zv::test {

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
    std::unique_ptr<frmVergelijker> window;

    frmVergelijker& w() { return *window; }
    // Builds a fresh window that reaches files through `other` (for example a
    // fault-injecting wrapper around `fs`).
    void rebuildWindow(FileSystem& other);
    std::string appFolder() const { return root / "app"; }
    // The run log split into lines (without CR LF).
    std::vector<std::string> logLines() const;
};

}  // namespace zv::test
