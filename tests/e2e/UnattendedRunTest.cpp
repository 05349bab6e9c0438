#include <fcntl.h>
#include <sys/file.h>

#include "e2e/E2eFixture.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

using UnattendedRun = EndToEnd;
using DesktopNotice = EndToEnd;

// Each start runs and prints nothing (cron would mail it), or is refused before anything is
// written with the reason in Error.Log; only one without a job prints why: no window is seen.
TEST_F(UnattendedRun, WhatEachStartRunsPrintsAndLogs) {
    std::string noise;
    for (int i = 0; i < 50000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    plant(app, {{"/Noise.dat", noise}});
    writeFile(work + "/Elders.dat", job());
    const std::string any = "[\\s\\S]*", version = splitLines(job())[0].substr(9) + "\n",
                      error = "DATE TIME Error: ", invalid = "TIME Targetpath invalid",
                      noiseFile = "\"" + app + "/Noise.dat\" bevat een fout",
                      noScreen = error +
                                 "geen beeldscherm; het venster kan niet wachten en wordt gesloten";
    const Lines noiseLog{
        "Automatisch beantwoord: \"Initialisatiebestand: " + noiseFile + " / in regel 1\" -> OK",
        error + noiseFile + " in regel 1"};
    const auto inUse = [&](const std::string& held) {
        return Lines{error + "\"" + held + "\" is in gebruik door een andere run"};
    };
    const struct {
        Lines arguments;
        int status;
        Lines logged, through = {};                    // logged: Error.Log's lines
        std::string out = "", errors = "", held = "";  // held: what another run holds
    } starts[] = {
        {{"-if", "Job.dat", "-qu"}, 0, {}, kCron},
        {{"-if", "Job.dat", "-x"}, 0, {}, kCron},
        {{"-if", "Elders.dat", "-qu"}, 0, {}},
        {checked(source, backup), 0, {}, kCron},
        {{}, 1, {}, kCron, "", any + "geen beeldscherm gevonden" + any},
        {{"--version"}, 0, {}, {}, version},
        {{"--help"}, 0, {}, {}, any + "-if" + any},
        {{"-if", "Job.dat"}, 1, {}},  // no run-mode piece
        {{"-if", "Noise.dat", "-qu"}, 1, noiseLog},
        {{"-ps", source, "-vf", "1"}, 1, {invalid}},
        {checked(source, root / "nergens/Backup"), 1, {invalid + " (de map erboven bestaat niet)"}},
        // "-pr" without its value stops the option parser: no run, and no screen.
        {{"-ps", source, "-pr", "-pd", backup}, 1, {noScreen}, {"env", "-u", "QT_QPA_PLATFORM"}},
        {{"-if", "Job.dat", "-qu"}, 1, inUse(backup), {}, "", "", backup},
        {{"-if", "Job.dat", "-qu"}, 1, inUse(app + "/Job.dat"), {}, "", "", app + "/Job.dat"},
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(::testing::PrintToString(s.arguments).substr(0, 200) + s.held);
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        std::filesystem::remove(app + "/Init.dat");
        std::filesystem::remove(app + "/Error.Log");
        writeFile(app + "/Job.dat", job());
        const UniqueFd held(s.held.empty() ? -1 : open(s.held.c_str(), O_RDONLY));
        ASSERT_TRUE(!held.valid() || flock(held.get(), LOCK_EX) == 0);
        const ProgramOutcome outcome = run(s.arguments, s.through);
        EXPECT_EQ(outcome.exitStatus, s.status) << outcome.errors;
        EXPECT_TRUE(std::regex_match(outcome.out, std::regex(s.out))) << outcome.out;
        EXPECT_TRUE(std::regex_match(outcome.errors, std::regex(s.errors))) << outcome.errors;
        EXPECT_EQ(errorLines(), s.logged);
        const bool ran = s.status == 0 && s.arguments.size() > 1;
        EXPECT_EQ(files(backup), ran ? files(source) : Tree{});
        EXPECT_EQ(exists(app + "/Init.dat"), ran && s.arguments[0] == "-ps");
        EXPECT_TRUE(ran || readFile(app + "/Job.dat") == job());  // a run saves it
    }
    EXPECT_FALSE(exists(root / "nergens"));
    EXPECT_EQ(readFile(work + "/Elders.dat"), job());
    EXPECT_TRUE(exists(app + "/Elders.dat"));
}

// An unattended run that did not end well tells the desktop (here a private session bus
// with a stand-in notification service); without a session bus it is as quiet.
TEST_F(DesktopNotice, FailedRefusedAndBrokenOffRunsAreNoticedOnlyWithASessionBus) {
    if (!sh("dbus-run-session -- true >/dev/null 2>&1")) GTEST_SKIP() << "no dbus-run-session";
    const std::string config = root / "bus.conf", noticeFile = root / "notices.txt";
    writeFile(config, "<busconfig><type>session</type><listen>unix:path=" + root / "run/bus" +
                          "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                          "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                          "<allow own=\"*\"/></policy></busconfig>\n");
    const Lines refusedJob{"-ps", source, "-vf", "1"}, noSource = checked(root / "weg", backup),
                                                       noAddress{"-u", "DBUS_SESSION_BUS_ADDRESS"};
    // name, arguments, what the session unsets, exit status, the notice's summary (or none)
    const std::tuple<std::string, Lines, Lines, int, std::string> cases[] = {
        {"clean run", checked(source, backup), {}, 0, ""},
        {"refused", refusedJob, {}, 1, "niet uitgevoerd"},
        {"broken off", noSource, {}, 2, "afgebroken"},
        // as a systemd user session, which exports no bus address
        {"bus only in the runtime folder", refusedJob, noAddress, 1, "niet uitgevoerd"},
        {"cron, no session", noSource, kCron, 2, ""},
    };
    for (const auto& [name, arguments, unset, status, summary] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(noticeFile);
        Lines bus{"dbus-run-session", "--config-file=" + config, "--", ZV_NOTIFICATION_LISTENER};
        bus.insert(bus.end(), {noticeFile, summary.empty() ? "0" : "1", "env"});
        bus.insert(bus.end(), unset.begin(), unset.end());
        const ProgramOutcome outcome = run(arguments, unset == kCron ? kCron : bus);
        EXPECT_EQ(outcome.exitStatus, status) << outcome.errors;
        // Only the bus daemon complains (it cannot raise its file limit here).
        EXPECT_EQ(std::regex_replace(outcome.errors, std::regex("dbus-daemon\\[.*\n"), ""), "");
        // The notices, each body from its exit status on.
        EXPECT_EQ(
            std::regex_replace(readFile(noticeFile), std::regex("\\|[^|]*\\(afsluit"), "|(afsluit"),
            summary.empty() ? ""
                            : "Zandvast|nl.zandvast.Zandvast|Zandvast: backup " + summary +
                                  "|(afsluitstatus " + std::to_string(status) + "). Zie " + app +
                                  "/Error.Log.|desktop-entry=nl.zandvast.Zandvast");
    }
}

}  // namespace
}  // namespace zv::test
