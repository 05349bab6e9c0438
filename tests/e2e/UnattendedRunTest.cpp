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

// A job file is read whole (here short by a line, with LF line ends and a
// byte-order mark) and saved after the run byte for byte in twelve CR LF
// lines, with the moment the run started as the next from-date: with the end
// time, a file changed during the run after the walk passed it would never be
// copied. A run from options saves Init.dat.
TEST_F(UnattendedRun, ARunSavesTheJobWithItsStartAsTheNextFromDate) {
    const std::string label = labelOf(backup), vl = label.empty() ? "" : " -vl " + label;
    std::string shortJob = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < 11; ++i) shortJob += job()[i] + "\n";
    writeFile(app + "/Job.dat", shortJob);
    const struct {
        Lines arguments;
        const char *file, *cd, *sy, *ke;
    } rows[] = {
        {{"-if", "Job.dat", "-qu"}, "Job.dat", "1", "0", "0"},
        {{"-ps", source, "-pd", backup, "-cd", "0", "-sy", "1", "-vf", "1", "-ke", "1"},
         "Init.dat",
         "0",
         "1",
         "1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        writeFile(backup + "/oud.txt", "weg ermee");
        makeDirs(backup + "/lege map");
        const DateTime before = SystemClock().now();
        const ProgramOutcome outcome = run(row.arguments);
        const DateTime after = SystemClock().now();
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        EXPECT_EQ(files(backup).size(), files(source).size() + (*row.sy == '0'));
        EXPECT_EQ(exists(backup + "/lege map"), *row.ke == '0');
        EXPECT_EQ(errorLog(), "");
        const std::string text = readFile(app + "/" + row.file);
        const Lines lines = split(text);
        ASSERT_EQ(lines.size(), 12u) << text;
        const std::string date = lines[4].substr(lines[4].find('=') + 1);
        const std::optional<DateTime> when = parseDateTime(date);
        ASSERT_TRUE(when.has_value()) << date;
        EXPECT_GE(*when, before - std::chrono::seconds(1));
        EXPECT_LE(*when, after);
        Lines saved = job(date);
        saved[5] = std::string("checkdate =") + row.cd;
        saved[6] = std::string("syncactive =") + row.sy;
        saved[9] = std::string("killempty =") + row.ke;
        saved[10] += label;
        saved[11] +=
            " -dd " + date + " -cd " + row.cd + " -sy " + row.sy + " -vf 1 -ke " + row.ke + vl;
        EXPECT_EQ(text, crlf(saved));
        EXPECT_EQ(exists(app + "/Init.dat"), *row.file == 'I');
    }
}

// Quiet, with the window, from a scheduler without any display or runtime
// folder, and a job file in the working folder (saved in the application
// folder). Nothing reaches standard error: cron would mail it every night.
// Only a crontab line without a job says why it ends: nobody could see the
// window.
TEST_F(UnattendedRun, EveryUnattendedStartRunsAndSaysNothing) {
    const Lines quiet{"-if", "Job.dat", "-qu"}, shown{"-if", "Job.dat", "-x"};
    Start cron;
    cron.withPlatform = false;
    cron.withRuntimeFolder = false;
    const std::vector<std::pair<Lines, Start>> starts{
        {quiet, {}},
        {shown, {}},
        {quiet, cron},
        {shown, cron},
        {{"-if", "Elders.dat", "-qu"}, {}},
        {{"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"}, cron}};
    for (const auto& [arguments, how] : starts) {
        SCOPED_TRACE(arguments[1] + " " + arguments[2] + (how.withPlatform ? "" : " from cron"));
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        writeFile(app + "/Job.dat", crlf(job()));
        writeFile(work + "/Elders.dat", crlf(job()));
        const ProgramOutcome outcome = start(arguments, how);
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        EXPECT_EQ(outcome.output, "");
        EXPECT_TRUE(copied());
    }
    EXPECT_EQ(readFile(work + "/Elders.dat"), crlf(job()));
    EXPECT_TRUE(exists(app + "/Elders.dat"));

    std::filesystem::remove(app + "/Init.dat");
    const ProgramOutcome windowOnly = start({}, cron);
    EXPECT_EQ(windowOnly.exitStatus, 1) << windowOnly.output;
    EXPECT_EQ(windowOnly.output, windowOnly.errors);
    EXPECT_NE(windowOnly.errors.find("geen beeldscherm gevonden"), std::string::npos)
        << windowOnly.errors;
    EXPECT_FALSE(exists(app + "/Init.dat"));
}

// Refused before anything is written: status 1, nothing copied, nothing
// saved, the job file left as it was, and one reason in Error.Log.
TEST_F(UnattendedRun, RefusalsAreLoggedAndRunNothing) {
    using namespace std::string_literals;
    std::string noise;
    for (int i = 0; i < 50000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    Lines nul = job();
    nul[1] = "pathsource =src\0x"s;
    writeFile(app + "/Job.dat", crlf(job()));
    writeFile(app + "/Noise.dat", noise);
    writeFile(app + "/Nul.dat", crlf(nul));
    const std::string label = labelOf(backup);
    const auto badLine = [&](const std::string& name) {
        const std::string file = "\"" + app + "/" + name + "\" bevat een fout";
        return "Automatisch beantwoord: \"Initialisatiebestand: " + file +
               " / in regel 1\" -> OK\nDATE TIME Error: " + file + " in regel 1";
    };
    const struct {
        Lines arguments;
        std::string logged;  // the log, dates and times as DATE and TIME
        bool withPlatform = true;
    } cases[] = {
        {{"-if", "Job.dat"}, ""},  // no run-mode piece
        {{"-if", "Weg.dat", "-qu"},
         "DATE TIME Error: \"" + app + "/Weg.dat\" - initfile not found"},
        // A box nobody sees is answered in the log.
        {{"-if", "Noise.dat", "-qu"}, badLine("Noise.dat")},
        {{"-if", "Nul.dat", "-qu"}, badLine("Nul.dat")},
        {{"-ps", source, "-vf", "1"}, "TIME Targetpath invalid"},
        {{"-ps", source, "-pd", root / "nergens/Backup", "-vf", "1"},
         "TIME Targetpath invalid (de map erboven bestaat niet)"},
        {{"-ps", source, "-pd", backup, "-vl", "ANDERE" + label},
         "DATE TIME Error: ANDERE" + label + " <> " + label + "\nVolumelabels don't match"},
        {{"-ps", source, "-pd", backup, "-sy", "1", "-vf", "1", "-db", "2", "-pr",
          source + "/foto's"},
         "DATE TIME Error: \"" + source + "/foto's\" prullenbak ligt in de bronmap"},
        {{"-ps", source, "-pd", source, "-ke", "1", "-sy", "1", "-vf", "1"},
         "DATE TIME Error: bronmap en doelmap zijn dezelfde map"},
        {{"-ps", source, "-pd", backup, "-dd", "31-12-9999", "-cd", "1"},
         "DATE TIME Error: vanaf-datum 1-1-2262 00:00:00 ligt in de toekomst"},
        // "-pr" without its value stops the option parser, so no run starts
        // and the window stays open for a user; without a screen nobody
        // could close it.
        {{"-ps", source, "-pr", "-pd", backup},
         "DATE TIME Error: geen beeldscherm; het venster kan niet wachten en wordt gesloten"},
        {{"-ps", source, "-pr", "-pd", backup},
         "DATE TIME Error: geen beeldscherm; het venster kan niet wachten en wordt gesloten",
         false},
    };
    const std::map<std::string, std::string> before = files(source);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments).substr(0, 200));
        std::string logged;
        for (const std::string& line : refused(c.arguments, c.withPlatform))
            logged += (logged.empty() ? "" : "\n") + line;
        EXPECT_EQ(logged, c.logged);
        EXPECT_TRUE(exists(app + "/Error.Log"));
    }
    EXPECT_EQ(files(source), before);
    EXPECT_FALSE(exists(root / "nergens"));
    EXPECT_FALSE(exists(app + "/Init.dat"));
    EXPECT_EQ(readFile(app + "/Job.dat"), crlf(job()));
}

// A second run of one job, or into one backup folder, while a first one
// holds it, is refused.
TEST_F(UnattendedRun, OneRunAtATime) {
    writeFile(app + "/Job.dat", crlf(job()));
    for (const std::string& held : {backup, app + "/Job.dat"}) {
        SCOPED_TRACE(held);
        UniqueFd fd(open(held.c_str(), O_RDONLY));
        ASSERT_EQ(flock(fd.get(), LOCK_EX), 0);
        EXPECT_EQ(refused({"-if", "Job.dat", "-qu"}),
                  Lines{"DATE TIME Error: \"" + held + "\" is in gebruik door een andere run"});
    }
    EXPECT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0);
}

TEST_F(UnattendedRun, VersionAndHelpArePrinted) {
    const ProgramOutcome version = run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output, "Zandvast v." + EndToEnd::version() + "\n");
    const ProgramOutcome help = run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("-if"), std::string::npos);
}

}  // namespace
}  // namespace zv::test
