// Times one synchronising run of the engine on a prepared tree, without a
// window: the whole run (checked copy, synchronisation, empty-folder pass;
// "tidy" with the removal of empty folders switched on) or the
// synchronisation walk alone; "since" is the whole run with an older from-date,
// so that the files changed after it are copied.
//
//   sync_bench whole|tidy|sync SOURCE BACKUP [DUSTBIN]
//   sync_bench since SOURCE BACKUP SECONDS [DUSTBIN]   (SECONDS after 1970)
//
// With a DUSTBIN folder the orphans are moved there, otherwise deleted.
// Prints the elapsed wall-clock seconds and the run's counters.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "app/AppWindow.h"
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

// `fromDate` empty: a from-date after every file's dates, so nothing is new
// (a run refuses one in the future).
void configure(zv::AppWindow& w, const std::string& source, const std::string& backup,
               const std::string& dustbin, const std::string& fromDate) {
    w.job.source = source;
    w.job.backup = backup;
    w.ui.sourceBox.text = source;
    w.ui.backupBox.text = backup;
    w.job.verify = true;
    w.job.synchronise = true;
    w.job.removeEmptyFolders = false;
    // Counted first as in any run, but never asked about: a run with -mx.
    w.job.maxRemovals = std::numeric_limits<std::int64_t>::max();
    w.job.noDateFilter = false;
    w.ui.dateFilterBox.value = 1;
    w.job.fromDate = fromDate.empty() ? zv::formatDateTime(w.svc.clock.now()) : fromDate;
    w.ui.fromDateBox.text = w.job.fromDate;
    if (!dustbin.empty()) {
        w.job.useDustbin = true;
        w.job.dustbinToFolder = true;
        w.job.dustbinPath = dustbin;
    }
}

int usage(const char* self) {
    std::fprintf(stderr,
                 "usage: %s whole|tidy|sync SOURCE BACKUP [DUSTBIN]\n"
                 "       %s since SOURCE BACKUP SECONDS [DUSTBIN]\n",
                 self, self);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage(argv[0]);
    const std::string mode = argv[1];
    if (mode != "whole" && mode != "tidy" && mode != "sync" && mode != "since")
        return usage(argv[0]);
    const int words = mode == "since" ? 5 : 4;  // the words before DUSTBIN
    if (argc < words || argc > words + 1) return usage(argv[0]);
    const std::string fromDate =
        mode == "since" ? zv::formatDateTime(zv::DateTime(
                              std::chrono::seconds(std::strtoll(argv[4], nullptr, 10))))
                        : "";
    zv::LinuxFileSystem fs;
    CancelDialogs dialogs;
    zv::SystemClock clock;
    zv::NullEventPump pump;
    RefusingTrash trash;
    NoHost host;
    zv::EnvironmentInfo env;
    env.appFolder = std::string(argv[3]) + "/..";
    zv::AppWindow w(zv::Services{fs, dialogs, clock, pump, trash, host, env});
    configure(w, argv[2], argv[3], argc > words ? argv[words] : "", fromDate);
    w.job.removeEmptyFolders = mode == "tidy";

    const auto start = std::chrono::steady_clock::now();
    if (mode != "sync") {
        w.goClicked();
    } else {
        w.progress.startPhase();
        zv::syncRootFiles(w.run, w.job.backup, w.job.source);
        zv::syncSubfolders(w.run, w.job.backup, w.job.source);
        w.progress.settle();  // as the run driver does
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%.4f seen=%d copied=%d removed=%d failed=%d break=%d\n", elapsed.count(),
                w.counts.seen, w.counts.copied, w.counts.removed, w.counts.failed,
                w.userBreak ? 1 : 0);
    return w.userBreak ? 1 : 0;
}
