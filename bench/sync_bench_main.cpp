// Times one synchronising run of the engine on a prepared tree, without a
// window: the whole run (checked copy, synchronisation, empty-folder pass;
// "tidy" with the removal of empty folders switched on) or the
// synchronisation walk alone.
//
//   sync_bench whole|tidy|sync SOURCE BACKUP [DUSTBIN]
//
// With a DUSTBIN folder the orphans are moved there, otherwise deleted.
// Prints the elapsed wall-clock seconds and the run's counters.

#include <chrono>
#include <cstdio>
#include <string>

#include "app/frmVergelijker.h"
#include "copy/ProgressTotal.h"
#include "platform/DateText.h"
#include "platform/linux/LinuxFileSystem.h"
#include "sync/SyncWalk.h"

namespace {

class CancelDialogs final : public zv::Dialogs {
  public:
    zv::MessageAnswer messageBox(const std::string&, zv::MessageStyle) override {
        return zv::MessageAnswer::Cancel;
    }
};

class RefusingTrash final : public zv::Trash {
  public:
    zv::FsError moveToTrash(const std::string& path) override {
        return zv::fsFail(zv::kErrAccessDenied, "no trash in this benchmark: " + path);
    }
};

class NoHost final : public zv::WindowHost {
  public:
    void showDustbinDialog() override {}
};

void configure(zv::frmVergelijker& w, const std::string& source, const std::string& backup,
               const std::string& dustbin) {
    w.SourcePath = source;
    w.DestinationPath = backup;
    w.ui.Text1[0].text = source;
    w.ui.Text1[2].text = backup;
    w.DoVerify = true;
    w.SyncActive = true;
    w.KillEmpty = false;
    w.NoDateCheck = false;
    w.ui.Check1.value = 1;
    // A from-date after every file's dates, so nothing is new (a run refuses
    // one in the future).
    w.FromDate = zv::formatDateTime(w.svc.clock.now());
    w.ui.text2.text = w.FromDate;
    if (!dustbin.empty()) {
        w.UseDustbin = true;
        w.DustBinCustom = true;
        w.DustBinPath = dustbin;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s whole|tidy|sync SOURCE BACKUP [DUSTBIN]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    zv::LinuxFileSystem fs;
    CancelDialogs dialogs;
    zv::SystemClock clock;
    zv::NullEventPump pump;
    RefusingTrash trash;
    NoHost host;
    zv::EnvironmentInfo env;
    env.appFolder = std::string(argv[3]) + "/..";
    zv::frmVergelijker w(zv::Services{fs, dialogs, clock, pump, trash, host, env});
    configure(w, argv[2], argv[3], argc > 4 ? argv[4] : "");
    w.KillEmpty = mode == "tidy";

    const auto start = std::chrono::steady_clock::now();
    if (mode == "whole" || mode == "tidy") {
        w.cmdGo_Click();
    } else {
        w.BytesDone = 0;
        zv::SyncRootFiles(w, w.DestinationPath, w.SourcePath);
        zv::SyncSubfolders(w, w.DestinationPath, w.SourcePath);
        zv::SettleProgressTotal(w, true);  // as the run driver does
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.4f seen=%d copied=%d removed=%d failed=%d break=%d\n", elapsed.count(),
                w.FilesSeen, w.FilesCopied, w.ItemsRemoved, w.FilesFailed, w.UserBreak ? 1 : 0);
    return w.UserBreak ? 1 : 0;
}
