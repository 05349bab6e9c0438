#include <gtest/gtest.h>

#include <string>

#include "config/ConfigFixture.h"
#include "support/FaultInjectingFileSystem.h"

namespace zv::test {
namespace {

// Each way of starting the program: what it shows or runs, whether it asks
// about a changed backup volume, what it logs, and the exit status a scheduler
// sees (0 done, 1 refused or nothing run, 2 broken off, 3 files failed). A job
// that ran is saved with the run's start as its from-date; one that did not
// is left alone.
TEST(Startup, Forms) {
    struct Case {
        std::string commandLine{};
        const char* jobFile{};  // the test job under this name, if any
        std::string outcome{};  // window, run, exit status, boxes, job read
        std::string logged{};   // a line Error.Log must hold
        Edits edits{};
        const char* backupLabel{};
        std::size_t keep = 12;  // job lines written
        bool failCopy = false;
        bool pressExit = false;
    };
    const Edits data1 = {{10, "volumelabel =DATA1"}};
    const std::string options = "-ps {source} -pd {backup} -cd 0 -vf 1";
    const std::string closed = "closed, no run, exit ";
    const Case cases[] = {
        {"", nullptr, "open, no run, exit 0, 0 boxes"},
        {"", "Init.dat", "open, no run, exit 0, 0 boxes, job"},
        {"",
         "Init.dat",
         closed + "1, 0 boxes, job",
         "NODISK/Backup - kan pad niet maken",
         {{2, "pathdestination =NODISK/Backup"}}},
        // Interactively a changed backup volume is asked; No (the default) ends.
        {"", "Init.dat", closed + "0, 1 boxes, job", "", data1, "DATA2"},
        {"", "Init.dat", "open, no run, exit 0, 0 boxes, job", "", data1, "DATA1"},
        {"", "Init.dat", closed + "0, 1 boxes, job", "", data1, "data1"},
        {"", "Init.dat", "open, no run, exit 0, 0 boxes, job", "", {}, "DATA2", 2},  // no backup
        {"-if Job.dat", "Job.dat", closed + "1, 0 boxes"},
        {"-if Job.dat -qu", "Job.dat", "closed, run, exit 0, 0 boxes, job"},
        {"-if Job.dat -x", "Job.dat", "closed, run, exit 0, 0 boxes, job"},
        // Unattended only "cf 1" in the run-mode piece asks.
        {"-if Job.dat -qu -cf 1", "Job.dat", "closed, run, exit 0, 0 boxes, job", "", data1,
         "DATA2"},
        {"-if Job.dat -qu cf 1", "Job.dat", closed + "1, 1 boxes, job", "", data1, "DATA2"},
        {"-if -qu", "Init.dat", closed + "1, 0 boxes", " - initfile not found"},
        {"-if Job.dat -qu",
         "Job.dat",
         closed + "1, 0 boxes",
         "komen niet overeen.",
         {{0, "version =Zandvast v.0.0.1"}}},
        {"-if Job.dat -qu",
         "Job.dat",
         closed + "2, 0 boxes, job",
         "   -  user break",
         {},
         nullptr,
         12,
         false,
         true},
        {"-ps {source}", "Init.dat", "open, no run, exit 0, 0 boxes, job"},
        {"-ps {source} -pr -pd {backup}", "Init.dat", "open, no run, exit 0, 0 boxes"},
        {options, nullptr, "closed, run, exit 0, 0 boxes, job"},
        {options, nullptr, closed + "3, 0 boxes, job", "", {}, nullptr, 12, true},
        {"-ps {source} -vf 1", nullptr, closed + "1, 0 boxes, job", "10:11:12 Targetpath invalid"},
    };
    for (const Case& c : cases) {
        JobScene s;
        SCOPED_TRACE(s.expand(c.commandLine) + " / " + s.jobText(c.edits, c.keep));
        if (c.jobFile) s.writeJob(s.jobText(c.edits, c.keep), c.jobFile);
        if (c.backupLabel) s.label(s.backup, c.backupLabel);
        FaultInjectingFileSystem faulty(s.fs);
        if (c.failCopy) {
            faulty.failOn(FsOp::CopyFile, "a.txt", kErrAccessDenied);
            s.rig.rebuildWindow(faulty);
        }
        bool shownDuringRun = false;
        s.rig.pump.hookAt = 1;
        s.rig.pump.hook = [&] {
            shownDuringRun = s.w().ui.visible;
            if (c.pressExit) s.w().exitClicked();
        };
        s.w().ui.visible = false;
        s.w().job.volumeLabel = "DATA1";  // as a job file without line 11 leaves it
        s.start(s.expand(c.commandLine));
        const AppWindow& w = s.w();
        EXPECT_EQ(std::string(w.ui.closed             ? "closed"
                              : w.ui.goButton.enabled ? "open, GO"
                                                      : "open") +
                      (s.ran() ? ", run" : ", no run") + ", exit " +
                      std::to_string(w.exitStatus()) + ", " + std::to_string(s.boxes().size()) +
                      " boxes" + (w.job.source == s.source ? ", job" : ""),
                  c.outcome);
        for (const auto& box : s.boxes()) {
            EXPECT_EQ(box, "HUIDIG backupvolume:  " + std::string(c.backupLabel) +
                               "\r\nWas:  DATA1\r\n\r\nDOORGAAN ?");
        }
        if (!c.logged.empty()) {
            EXPECT_NE(s.errorLog().find(c.logged + "\r\n"), std::string::npos);
        }
        EXPECT_EQ(w.versionText, "Zandvast v." + s.appVersion());
        EXPECT_TRUE(w.ui.closed || w.desktopName + " " + w.computerName == "Desktop testhost");
        const std::string saved = readFile(s.app() + "/" + (c.jobFile ? c.jobFile : "Init.dat"));
        if (s.ran()) {
            EXPECT_EQ(shownDuringRun, c.commandLine.find(" -x") != std::string::npos);
            EXPECT_NE(saved.find("\r\ndedato =" + formatDateTime(w.runStartTime) + "\r\n"),
                      std::string::npos);
        } else if (c.jobFile) {
            EXPECT_EQ(saved, s.jobText(c.edits, c.keep));
        }
    }
}

}  // namespace
}  // namespace zv::test
