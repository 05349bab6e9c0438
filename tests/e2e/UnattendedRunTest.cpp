#include <fcntl.h>
#include <sys/file.h>

#include <chrono>

#include "e2e/E2eFixture.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

using UnattendedRun = EndToEnd;
using DesktopNotice = EndToEnd;

// A job file is read whole (here short by a line, with LF line ends and a
// byte-order mark) and saved after the run in twelve CR LF lines, with the
// moment the run started as the next from-date: with the end time, a file
// changed during the run after the walk passed it would never be copied. A
// run from options saves Init.dat.
TEST_F(UnattendedRun, ARunSavesTheJobWithItsStartAsTheNextFromDate) {
    const std::string label = labelOf(backup), vl = label.empty() ? "" : " -vl " + label;
    std::string shortJob = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < 11; ++i) shortJob += job()[i] + "\n";
    writeFile(app + "/Job.dat", shortJob);
    const struct {
        Lines arguments;
        std::string file, cd, sy, ke;
    } rows[] = {{{"-if", "Job.dat", "-qu"}, "Job.dat", "1", "0", "0"},
                {{"-ps", source, "-pd", backup, "-cd", "0", "-sy", "1", "-vf", "1", "-ke", "1"},
                 "Init.dat",
                 "0",
                 "1",
                 "1"}};
    for (const auto& [arguments, file, cd, sy, ke] : rows) {
        SCOPED_TRACE(file);
        writeFile(backup + "/oud.txt", "weg ermee");
        makeDirs(backup + "/lege map");
        const DateTime before = SystemClock().now();
        EXPECT_EQ(run(arguments).exitStatus, 0) << errorLog();
        const DateTime after = SystemClock().now();
        EXPECT_EQ(files(backup).size(), files(source).size() + (sy == "0"));
        EXPECT_EQ(exists(backup + "/lege map"), ke == "0");
        EXPECT_EQ(errorLog(), "");
        const std::string text = readFile(app + "/" + file);
        const Lines lines = split(text);
        const std::string date = lines.size() == 12 ? lines[4].substr(lines[4].find('=') + 1) : "";
        const std::optional<DateTime> when = parseDateTime(date);
        ASSERT_TRUE(when.has_value()) << text;
        EXPECT_TRUE(*when >= before - std::chrono::seconds(1) && *when <= after) << date;
        EXPECT_EQ(text, crlf(job({{4, "dedato =" + date},
                                  {5, "checkdate =" + cd},
                                  {6, "syncactive =" + sy},
                                  {9, "killempty =" + ke},
                                  {10, "volumelabel =" + label},
                                  {11, job()[11] + " -dd " + date + " -cd " + cd + " -sy " + sy +
                                           " -vf 1 -ke " + ke + vl}})));
        EXPECT_EQ(exists(app + "/Init.dat"), file == "Init.dat");
    }
}

// Quiet, with the window, from a scheduler without any display or runtime
// folder, and a job file in the working folder (saved in the application
// folder): every unattended start runs and writes nothing, as cron would
// mail it every night. Only a crontab line without a job says why it ends:
// nobody could see the window. Standard output and error as patterns.
TEST_F(UnattendedRun, WhatEachStartRunsAndPrints) {
    const std::string any = "[\\s\\S]*", version = job()[0].substr(9) + "\n";
    const struct {
        Lines arguments, through;
        int status;
        std::string out, errors;
    } starts[] = {
        {{"-if", "Job.dat", "-qu"}, {}, 0, "", ""},
        {{"-if", "Job.dat", "-x"}, {}, 0, "", ""},
        {{"-if", "Job.dat", "-qu"}, kCron, 0, "", ""},
        {{"-if", "Job.dat", "-x"}, kCron, 0, "", ""},
        {{"-if", "Elders.dat", "-qu"}, {}, 0, "", ""},
        {{"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"}, kCron, 0, "", ""},
        {{}, kCron, 1, "", any + "geen beeldscherm gevonden" + any},
        {{"--version"}, {}, 0, version, ""},
        {{"--help"}, {}, 0, any + "-if" + any, ""},
    };
    writeFile(work + "/Elders.dat", crlf(job()));
    for (const auto& s : starts) {
        SCOPED_TRACE(::testing::PrintToString(s.arguments) + (s.through.empty() ? "" : " cron"));
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        std::filesystem::remove(app + "/Init.dat");
        writeFile(app + "/Job.dat", crlf(job()));
        const ProgramOutcome outcome = run(s.arguments, s.through);
        EXPECT_EQ(outcome.exitStatus, s.status) << outcome.errors;
        EXPECT_TRUE(std::regex_match(outcome.out, std::regex(s.out))) << outcome.out;
        EXPECT_TRUE(std::regex_match(outcome.errors, std::regex(s.errors))) << outcome.errors;
        EXPECT_EQ(files(backup) == files(source), s.arguments.size() > 1);
        EXPECT_EQ(exists(app + "/Init.dat"), !s.arguments.empty() && s.arguments[0] == "-ps");
    }
    EXPECT_EQ(readFile(work + "/Elders.dat"), crlf(job()));
    EXPECT_TRUE(exists(app + "/Elders.dat"));
}

// Refused before anything is written: status 1, nothing copied, nothing
// saved, the job file left as it was, and the reason in Error.Log.
TEST_F(UnattendedRun, RefusalsAreLoggedAndRunNothing) {
    using namespace std::string_literals;
    std::string noise;
    for (int i = 0; i < 50000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    plant(app, {{"/Job.dat", crlf(job())},
                {"/Noise.dat", noise},
                {"/Nul.dat", crlf(job({{1, "pathsource =src\0x"s}}))}});
    const std::string label = labelOf(backup), error = "DATE TIME Error: ";
    const Lines jobRun{"-if", "Job.dat", "-qu"},
        noScreen{error + "geen beeldscherm; het venster kan niet wachten en wordt gesloten"};
    const auto badFile = [&](const std::string& name) {  // a box nobody sees, answered in the log
        const std::string file = "\"" + app + "/" + name + "\" bevat een fout";
        return Lines{
            "Automatisch beantwoord: \"Initialisatiebestand: " + file + " / in regel 1\" -> OK",
            error + file + " in regel 1"};
    };
    const auto inUse = [&](const std::string& held) {
        return Lines{error + "\"" + held + "\" is in gebruik door een andere run"};
    };
    const struct {
        Lines arguments, logged, through = {};
        std::string held = {};  // what another run holds
    } cases[] = {
        {{"-if", "Job.dat"}, {}},  // no run-mode piece
        {{"-if", "Weg.dat", "-qu"}, {error + "\"" + app + "/Weg.dat\" - initfile not found"}},
        {{"-if", "Noise.dat", "-qu"}, badFile("Noise.dat")},
        {{"-if", "Nul.dat", "-qu"}, badFile("Nul.dat")},
        {{"-ps", source, "-vf", "1"}, {"TIME Targetpath invalid"}},
        {{"-ps", source, "-pd", root / "nergens/Backup", "-vf", "1"},
         {"TIME Targetpath invalid (de map erboven bestaat niet)"}},
        {{"-ps", source, "-pd", backup, "-vl", "ANDERE" + label},
         {error + "ANDERE" + label + " <> " + label, "Volumelabels don't match"}},
        {{"-ps", source, "-pd", backup, "-sy", "1", "-vf", "1", "-db", "2", "-pr",
          source + "/foto's"},
         {error + "\"" + source + "/foto's\" prullenbak ligt in de bronmap"}},
        {{"-ps", source, "-pd", source, "-ke", "1", "-sy", "1", "-vf", "1"},
         {error + "bronmap en doelmap zijn dezelfde map"}},
        {{"-ps", source, "-pd", backup, "-dd", "31-12-9999", "-cd", "1"},
         {error + "vanaf-datum 1-1-2262 00:00:00 ligt in de toekomst"}},
        // "-pr" without its value stops the option parser: no run starts, and
        // without a screen nobody could close the window.
        {{"-ps", source, "-pr", "-pd", backup}, noScreen},
        {{"-ps", source, "-pr", "-pd", backup}, noScreen, {"env", "-u", "QT_QPA_PLATFORM"}},
        {jobRun, inUse(backup), {}, backup},
        {jobRun, inUse(app + "/Job.dat"), {}, app + "/Job.dat"},
    };
    const Tree before = files(source);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments).substr(0, 200));
        const UniqueFd held(c.held.empty() ? -1 : open(c.held.c_str(), O_RDONLY));
        ASSERT_TRUE(!held.valid() || flock(held.get(), LOCK_EX) == 0);
        EXPECT_EQ(refused(c.arguments, c.through), c.logged);
        EXPECT_TRUE(exists(app + "/Error.Log"));
    }
    EXPECT_EQ(files(source), before);
    EXPECT_FALSE(exists(root / "nergens"));
    EXPECT_FALSE(exists(app + "/Init.dat"));
    EXPECT_EQ(readFile(app + "/Job.dat"), crlf(job()));
}

// An unattended run that did not end well tells the desktop: here on a
// private session bus (dbus-run-session, listening in the runtime folder as a
// desktop session's bus does) with a stand-in notification service that
// records "app|icon|summary|body|hints". Without a session bus the run is the
// same, and as quiet.
TEST_F(DesktopNotice, FailedRefusedAndBrokenOffRunsAreNoticedOnlyWithASessionBus) {
    if (!sh("dbus-run-session -- true >/dev/null 2>&1")) GTEST_SKIP() << "no dbus-run-session";
    const std::string config = root / "bus.conf", notices = root / "notices.txt";
    writeFile(config, "<busconfig><type>session</type><listen>unix:path=" + root / "run/bus" +
                          "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                          "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                          "<allow own=\"*\"/></policy></busconfig>\n");
    const Lines bus{"dbus-run-session",
                    "--config-file=" + config,
                    "--",
                    ZV_NOTIFICATION_LISTENER,
                    notices,
                    "env"},
        good{"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"},
        refusedJob{"-ps", source, "-vf", "1"},
        noSource{"-ps", root / "weg", "-pd", backup, "-cd", "0", "-vf", "1"};
    Lines noAddress = bus;  // as a systemd user session that exports no bus address
    noAddress.insert(noAddress.end(), {"-u", "DBUS_SESSION_BUS_ADDRESS"});
    const struct {
        const char* name;
        Lines arguments, through;
        int status;
        std::string summary;  // empty: no notice
    } cases[] = {
        {"clean run", good, bus, 0, ""},
        {"refused", refusedJob, bus, 1, "niet uitgevoerd"},
        {"broken off", noSource, bus, 2, "afgebroken"},
        {"bus only in the runtime folder", refusedJob, noAddress, 1, "niet uitgevoerd"},
        {"cron, no session", refusedJob, kCron, 1, ""},
        {"bus gone",
         noSource,
         {"env", "DBUS_SESSION_BUS_ADDRESS=unix:path=" + root / "geen"},
         2,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(backup);
        std::filesystem::remove(notices);
        makeDirs(backup);
        const ProgramOutcome outcome = run(c.arguments, c.through);
        EXPECT_EQ(outcome.exitStatus, c.status) << outcome.errors;
        // Nothing but the bus daemon's own complaints (it cannot raise its
        // file limit in a container) reaches standard error.
        EXPECT_EQ(std::regex_replace(outcome.errors, std::regex("dbus-daemon\\[.*\n"), ""), "");
        Lines received = split(readFile(notices), "\n"), expected;
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
