// Drives the copy engine the way a run does, without a window, and prints
// how long it took:
//   zv_bench full   SOURCE BACKUP   first backup, checked mode, date filter off
//   zv_bench rerun  SOURCE BACKUP   checked mode, date filter on, from-date now
//   zv_bench quick  SOURCE BACKUP   quick mode, date filter off
//   zv_bench since  SOURCE BACKUP SECONDS   checked mode, from-date SECONDS
//                                   after 1970 (what changed since then)
// A last word "noflush" leaves out every flush to the disk (the replaced
// files' and the backup's at the end), to show what durability costs.
// The run log goes to Error.Log in the current folder.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/AppWindow.h"
#include "platform/DateText.h"
#include "platform/linux/LinuxFileSystem.h"

namespace {

using namespace zv;

// Every question is answered with Cancel; a benchmark never waits.
class CancelDialogs final : public Dialogs {
  public:
    MessageAnswer messageBox(const std::string&, MessageStyle style) override {
        return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
};

class NoTrash final : public Trash {
  public:
    FsError moveToTrash(const std::string& path) override {
        return fsFail(kErrAccessDenied, "No trash in the benchmark: " + path);
    }
};

// Renames as usual but puts nothing on the disk early.
class NoFlush final : public DiskSync {
  public:
    int flushData(int) override { return 0; }
    int flushFolder(int) override { return 0; }
    int flushFileSystem(int) override { return 0; }
};

class NoHost final : public WindowHost {
  public:
    void showDustbinDialog() override {}
};

int usage() {
    std::fprintf(stderr,
                 "usage: zv_bench full|rerun|quick SOURCE BACKUP [noflush]\n"
                 "       zv_bench since SOURCE BACKUP SECONDS [noflush]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage();
    const std::string mode = argv[1];
    if (mode != "full" && mode != "rerun" && mode != "quick" && mode != "since") return usage();
    const int words = mode == "since" ? 5 : 4;
    if (argc < words || argc > words + 1) return usage();
    const bool flush = argc == words || std::strcmp(argv[words], "noflush") != 0;

    NoFlush noFlush;
    LinuxFileSystem fs = flush ? LinuxFileSystem() : LinuxFileSystem(MountSources{}, noFlush);
    CancelDialogs dialogs;
    SystemClock clock;
    NullEventPump pump;
    NoTrash trash;
    NoHost host;
    EnvironmentInfo env;
    char cwd[4096];
    env.appFolder = getcwd(cwd, sizeof cwd) ? cwd : ".";
    env.workingFolder = env.appFolder;

    AppWindow w(Services{fs, dialogs, clock, pump, trash, host, env});
    w.job.source = argv[2];
    w.job.backup = argv[3];
    w.job.verify = mode != "quick";
    w.job.noDateFilter = mode != "rerun" && mode != "since";
    w.job.fromDate =
        mode == "rerun" ? formatDateTime(clock.now())
        : mode == "since"
            ? formatDateTime(DateTime(std::chrono::seconds(std::strtoll(argv[4], nullptr, 10))))
            : "1-1-2000 00:00:00";
    w.ui.dateFilterBox.value = w.job.noDateFilter ? 0 : 1;

    const auto start = std::chrono::steady_clock::now();
    w.goClicked();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    std::printf("%s %.3f s  copied %d  seen %d  failed %d\n", mode.c_str(), took.count(),
                w.counts.copied, w.counts.seen, w.counts.failed);
    return w.runCompleted ? 0 : 1;
}
