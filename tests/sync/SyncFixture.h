#pragma once

#include "copy/CopyFixture.h"
#include "sync/SyncWalk.h"

namespace zv::test {

// A window set up for a synchronising run, with a dustbin folder bin/ at hand.
class SyncFixture : public CopyFixture {
  protected:
    SyncFixture() { freshWindow(faulty); }
    void freshWindow(FileSystem& fs) override {
        CopyFixture::freshWindow(fs);
        w().job.verify = w().job.synchronise = true;
    }
    void useDustbinFolder(const std::string& path) {
        makeDirs(bin);
        w().job.useDustbin = w().job.dustbinToFolder = true;
        w().job.dustbinPath = path;
    }
    // The synchronisation as the run driver calls it, on the folders as it resolves them.
    void sync() {
        (void)resolveRunFolders(w());
        RunContext run = rig.walkContext();
        syncRootFiles(run, w().job.backup, w().job.source);
        syncSubfolders(run, w().job.backup, w().job.source);
    }
    std::pair<int, int> removedAndFailed() { return {w().counts.removed, w().counts.failed}; }

    std::string bin = rig.root / "bin";
};

}  // namespace zv::test
