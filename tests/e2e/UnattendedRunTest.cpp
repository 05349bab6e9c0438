#include <fcntl.h>
#include <sys/file.h>

#include "e2e/E2eFixture.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

using UnattendedRun = EndToEnd;
using DesktopNotice = EndToEnd;

// Quiet, with the window, from cron, with a job file in the working folder (saved
// in the application folder): every unattended start runs and prints nothing (cron
// would mail it). Only a start without a job says why it ends: no screen.
TEST_F(UnattendedRun, WhatEachStartRunsAndPrints) {
    const std::string any = "[\\s\\S]*", version = splitLines(job())[0].substr(9) + "\n";
    const struct {
        Lines arguments, through;
        int status;
        std::string out, errors;
    } starts[] = {
        {{"-if", "Job.dat", "-qu"}, kCron, 0, "", ""},
        {{"-if", "Job.dat", "-x"}, kCron, 0, "", ""},
        {{"-if", "Elders.dat", "-qu"}, {}, 0, "", ""},
        {checked(source, backup), kCron, 0, "", ""},
        {{}, kCron, 1, "", any + "geen beeldscherm gevonden" + any},
        {{"--version"}, {}, 0, version, ""},
        {{"--help"}, {}, 0, any + "-if" + any, ""},
    };
    writeFile(work + "/Elders.dat", job());
    for (const auto& s : starts) {
        SCOPED_TRACE(::testing::PrintToString(s.arguments) + (s.through.empty() ? "" : " cron"));
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        std::filesystem::remove(app + "/Init.dat");
        writeFile(app + "/Job.dat", job());
        const ProgramOutcome outcome = run(s.arguments, s.through);
        EXPECT_EQ(outcome.exitStatus, s.status) << outcome.errors;
        EXPECT_TRUE(std::regex_match(outcome.out, std::regex(s.out))) << outcome.out;
        EXPECT_TRUE(std::regex_match(outcome.errors, std::regex(s.errors))) << outcome.errors;
        EXPECT_EQ(files(backup) == files(source), s.arguments.size() > 1);
        EXPECT_EQ(exists(app + "/Init.dat"), !s.arguments.empty() && s.arguments[0] == "-ps");
    }
    EXPECT_EQ(readFile(work + "/Elders.dat"), job());
    EXPECT_TRUE(exists(app + "/Elders.dat"));
}

// Refused before anything is written: status 1, nothing copied or saved, the job
// file as it was, the reason in Error.Log. These need the real program: binary
// noise for a job file, no screen at all, and locks another process holds.
TEST_F(UnattendedRun, RefusalsAreLoggedAndRunNothing) {
    std::string noise;
    for (int i = 0; i < 50000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    plant(app, {{"/Job.dat", job()}, {"/Noise.dat", noise}});
    const std::string error = "DATE TIME Error: ",
                      noiseFile = "\"" + app + "/Noise.dat\" bevat een fout";
    const auto inUse = [&](const std::string& held) {
        return Lines{error + "\"" + held + "\" is in gebruik door een andere run"};
    };
    const struct {
        Lines arguments, logged, through = {};
        std::string held = {};  // what another run holds
    } cases[] = {
        {{"-if", "Job.dat"}, {}},  // no run-mode piece
        {{"-if", "Noise.dat", "-qu"},
         {"Automatisch beantwoord: \"Initialisatiebestand: " + noiseFile + " / in regel 1\" -> OK",
          error + noiseFile + " in regel 1"}},
        {{"-ps", source, "-vf", "1"}, {"TIME Targetpath invalid"}},
        {{"-ps", source, "-pd", root / "nergens/Backup", "-vf", "1"},
         {"TIME Targetpath invalid (de map erboven bestaat niet)"}},
        // "-pr" without its value stops the option parser: no run, and no screen.
        {{"-ps", source, "-pr", "-pd", backup},
         {error + "geen beeldscherm; het venster kan niet wachten en wordt gesloten"},
         {"env", "-u", "QT_QPA_PLATFORM"}},
        {{"-if", "Job.dat", "-qu"}, inUse(backup), {}, backup},
        {{"-if", "Job.dat", "-qu"}, inUse(app + "/Job.dat"), {}, app + "/Job.dat"},
    };
    const Tree before = files(source);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments).substr(0, 200));
        const UniqueFd held(c.held.empty() ? -1 : open(c.held.c_str(), O_RDONLY));
        ASSERT_TRUE(!held.valid() || flock(held.get(), LOCK_EX) == 0);
        EXPECT_EQ(refused(c.arguments, c.through), c.logged);
    }
    EXPECT_EQ(files(source), before);
    EXPECT_FALSE(exists(root / "nergens"));
    EXPECT_FALSE(exists(app + "/Init.dat"));
    EXPECT_EQ(readFile(app + "/Job.dat"), job());
}

// An unattended run that did not end well tells the desktop: here a private
// session bus in the runtime folder with a stand-in notification service.
// Without a session bus the run is the same, and as quiet.
TEST_F(DesktopNotice, FailedRefusedAndBrokenOffRunsAreNoticedOnlyWithASessionBus) {
    if (!sh("dbus-run-session -- true >/dev/null 2>&1")) GTEST_SKIP() << "no dbus-run-session";
    const std::string config = root / "bus.conf", noticeFile = root / "notices.txt";
    writeFile(config, "<busconfig><type>session</type><listen>unix:path=" + root / "run/bus" +
                          "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                          "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                          "<allow own=\"*\"/></policy></busconfig>\n");
    // The listener waits for as many notices as are expected.
    const auto bus = [&](const std::string& notices, const Lines& unset = {}) {
        Lines words{"dbus-run-session", "--config-file=" + config, "--", ZV_NOTIFICATION_LISTENER};
        words.insert(words.end(), {noticeFile, notices, "env"});
        words.insert(words.end(), unset.begin(), unset.end());
        return words;
    };
    const Lines good = checked(source, backup), refusedJob{"-ps", source, "-vf", "1"},
                noSource = checked(root / "weg", backup);
    const struct {
        const char* name;
        Lines arguments, through;
        int status;
        std::string summary;  // empty: no notice
    } cases[] = {
        {"clean run", good, bus("0"), 0, ""},
        {"refused", refusedJob, bus("1"), 1, "niet uitgevoerd"},
        {"broken off", noSource, bus("1"), 2, "afgebroken"},
        // as a systemd user session that exports no bus address
        {"bus only in the runtime folder", refusedJob, bus("1", {"-u", "DBUS_SESSION_BUS_ADDRESS"}),
         1, "niet uitgevoerd"},
        {"cron, no session", noSource, kCron, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(noticeFile);
        const ProgramOutcome outcome = run(c.arguments, c.through);
        EXPECT_EQ(outcome.exitStatus, c.status) << outcome.errors;
        // Only the bus daemon complains (it cannot raise its file limit here).
        EXPECT_EQ(std::regex_replace(outcome.errors, std::regex("dbus-daemon\\[.*\n"), ""), "");
        Lines received = splitLines(readFile(noticeFile), "\n"), expected;
        for (std::string& notice : received)  // the body from its exit status on
            notice = std::regex_replace(notice, std::regex("\\|[^|]*\\(afsluit"), "|(afsluit");
        if (!c.summary.empty())
            expected.push_back("Zandvast|nl.zandvast.Zandvast|Zandvast: backup " + c.summary +
                               "|(afsluitstatus " + std::to_string(c.status) + "). Zie " + app +
                               "/Error.Log.|desktop-entry=nl.zandvast.Zandvast");
        EXPECT_EQ(received, expected);
    }
}

}  // namespace
}  // namespace zv::test
