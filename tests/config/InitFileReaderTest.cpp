#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "config/ConfigFixture.h"
#include "platform/Attributes.h"

namespace zv::test {
namespace {

// A job file started unattended as "-if NAME -MODE": the test job with some
// lines replaced or cut off, and the run log it gives.
struct Unattended {
    Edits edits{};
    std::string log{};
    const char* piece = "-if Init.dat";
    std::size_t keep = 12;
    const char* mode = "qu";
};

// Every refusal stops the run with its own log line.
TEST(InitFileReader, UnattendedRefusals) {
    const Unattended cases[] = {
        {{}, "{stamp} Error: wrong date-format", "-if Init.dat", 0},
        {{}, "{time} An error has occurred", "-if Init.dat", 5},
        {{{1, "pathsource ={root}/weg"}}, "{stamp} Error: \"{root}/weg\" bronmap bestaat niet"},
        {{{2, "pathdestination ={source}/a.txt/b"}},
         "{stamp} Error: {source}/a.txt/b - kan pad niet maken (de map erboven bestaat niet)"},
        // Only the backup folder itself is made, never the folders above it:
        // they may be the mount point of a disk that is not plugged in.
        {{{2, "pathdestination ={root}/n/week/b"}},
         "{stamp} Error: {root}/n/week/b - kan pad niet maken (de map erboven bestaat niet)"},
        // An unresolvable volume name is refused even interactively.
        {{{2, "pathdestination =DISK/B"}}, "{stamp} Error: DISK/B - kan pad niet maken", ""},
        {{{4, "dedato =gisteren"}}, "{stamp} Error: wrong date-format"},
        {{{5, "checkdate =ja"}}, "{time} An error has occurred"},
        {{{5, "checkdate =3"}}, "{time} An error has occurred"},
        {{{6, "syncactive =ja"}}, "{time} - An error has occurred"},
        {{}, "{stamp} Error: \"{app}/\" - initfile not found", "-if"},
        // Another version stops the start as a user break.
        {{{0, "version =Zandvast v.20.0.1"}},
         "Versienummers van applicatie ({version}) en initialisatiebestand (20.0.1) komen niet "
         "overeen."},
    };
    for (const Unattended& c : cases) {
        JobScene s;
        s.writeJob(s.jobText(c.edits, c.keep));
        SCOPED_TRACE(s.jobText(c.edits, c.keep) + c.piece);
        s.unattended(c.piece);
        EXPECT_TRUE(s.w().readJobFile() == 1 || s.w().userBreak);
        EXPECT_EQ(s.log(), Lines{s.expand(c.log)});
        EXPECT_TRUE(s.w().jobRefused);
        EXPECT_FALSE(s.ran());
    }
}

// These job files run.
TEST(InitFileReader, UnattendedRuns) {
    const Unattended cases[] = {
        {{}, "", "-if Init.dat", 11},
        {{{2, "pathdestination ={root}/nieuw"}}},  // made, one level
        {{{5, "checkdate =2"}}},                   // greyed: no date filter
        {{}, "", "-if Elders.dat"},                // found in the working folder
        // "cf 1" asks only about a backup volume that changed.
        {{{10, "volumelabel =BACKUP"}}, "", "-if Init.dat", 12, "qu cf 1"},
        {{{3, "pathrecycler ={root}/bin"}, {8, "dustbin =2"}},
         "{stamp} Error: \"{root}/bin\" path dustbin didn't exist, created"},
        // A dustbin folder that cannot be made is not reported as made.
        {{{3, "pathrecycler ={root}/no/bin"}, {8, "dustbin =2"}},
         "{stamp} Error: \"{root}/no/bin\" - kan pad niet maken"},
    };
    for (const Unattended& c : cases) {
        JobScene s;
        const std::string name = std::string(c.piece).substr(4);
        writeFile((name == "Init.dat" ? s.app() : s.rig.root.path()) + "/" + name,
                  s.jobText(c.edits, c.keep));
        SCOPED_TRACE(s.jobText(c.edits, c.keep) + c.piece);
        s.label(s.backup, "BACKUP");
        s.unattended(c.piece, c.mode);
        EXPECT_EQ(s.w().readJobFile(), 0);
        EXPECT_EQ(s.log(), c.log.empty() ? Lines{} : Lines{s.expand(c.log)});
        EXPECT_TRUE(s.boxes().empty());
        EXPECT_FALSE(s.w().jobRefused);
        EXPECT_TRUE(s.ran());
        // A dustbin folder made for the job is marked as one.
        std::uint32_t attributes = 0;
        EXPECT_EQ(
            s.rig.fs.getAttributes(s.at("bin"), attributes).ok() && (attributes & kAttrReadOnly),
            c.log.ends_with("created"));
    }
}

// Interactively a bad job file gives its box and the reader goes on; nothing
// is made and nothing runs. The mode lines, read by their place and not by
// their key, set the switches, the pictures and the tooltips. The files have
// LF line ends and a byte-order mark.
TEST(InitFileReader, InteractiveStarts) {
    struct Case {
        Edits edits{};
        std::string box{};    // none when empty
        std::string shown{};  // source box | backup box | date box
        std::string flags = "verify | noSyncPicture";
        std::string sync = "(uitgeschakeld)";
        std::string dustbinTip{};
        std::size_t keep = 12;
    };
    auto bad = [](const std::string& label, const std::string& value) {
        return "Initialisatiebestand: \"{app}/Init.dat\" verwijst naar een ongeldige map.\r\n\r\n" +
               label + ": \"" + value + "\"\r\nbestaat niet of is momenteel niet toegankelijk.";
    };
    const std::string line8 =
        "Initialisatiebestand: \"{app}/Init.dat\" bevat een fout\r\nin regel 8";
    const std::string version =
        "Versienummers van applicatie ({version})\r\nen "
        "initialisatiebestand (20.0.1) komen niet overeen.";
    const std::string d = "|19-12-1960 12:58:58", old = "|1-1-2020 00:00:00";
    const std::string job = "{source}|{backup}" + d;
    const std::string on = "(ingeschakeld)", off = "(uitgeschakeld)",
                      unread = "nodate | noCheckPicture";
    const Case cases[] = {
        {{{1, "pathsource = {source}"}}, bad("Bronmap", " {source}"), " " + job},
        // The value is all after the first equals sign.
        {{{1, "pathsource ={root}/w=g"}}, bad("Bronmap", "{root}/w=g"), "{root}/w=g|{backup}" + d},
        {{{2, "pathdestination ={root}/nieuw"}},
         bad("Doelmap", "{root}/nieuw"),
         "{source}|{root}/nieuw" + d},
        {{{3, "pathrecycler ={root}/nieuw"}}, bad("Pad prullenbak", "{root}/nieuw"), job},
        // An unreadable date keeps the old one and is reported at the dustbin line.
        {{{4, "dedato =gisteren"}}, line8, "{source}|{backup}" + old},
        {{{7, "doverify =ja"}}, line8, job, "| noCheckPicture"},
        {{{0, "version =Zandvast v.20.0.1"}}, version, job},
        {{{0, "version =Zandbank v.{version}"}}, "", job},  // the prefix is skipped
        {{}, "", "|" + old, unread, off, "", 0},
        {{}, "", "{source}|{backup}" + old, unread, off, "", 3},
        {{{6, "doverify =1"}, {7, "syncactive =0"}}, "", job, "| noCheckPicture"},
        {{{6, "syncactive =1"}}, "", job, "sync verify | syncPicture", on},
        {{{6, "syncactive =1"}, {7, "doverify =0"}}, "", job, "| noCheckPicture"},
        {{{6, "syncactive =1"}, {8, "dustbin =1"}},
         "",
         job,
         "sync verify dustbin win | syncDustbinPicture dustbinPicture",
         "+ prullenbak " + on},
        // The recycle-bin number wins over a folder.
        {{{3, "pathrecycler ={source}"}, {8, "dustbin =1"}},
         "",
         job,
         "verify dustbin win | noSyncPicture",
         off,
         "<RECYCLER>"},
        {{{3, "pathrecycler ={source}"}, {8, "dustbin =2"}},
         "",
         job,
         "verify dustbin custom | noSyncPicture",
         off,
         "{source}"},
        {{{5, "checkdate =0"}}, "", job, "verify nodate | noSyncPicture"},
        {{{5, "checkdate =2"}}, "", job, "verify nodate | noSyncPicture"},  // greyed
    };
    for (const Case& c : cases) {
        JobScene s;
        std::string text = s.jobText(c.edits, c.keep);
        SCOPED_TRACE(text);
        for (auto i = text.find("\r\n"); i != std::string::npos; i = text.find("\r\n", i)) {
            text.erase(i, 1);
        }
        s.writeJob("\xEF\xBB\xBF" + text);
        s.w().job.fromDate = "1-1-2020 00:00:00";
        EXPECT_EQ(s.w().readJobFile(), 0);
        const auto& ui = s.w().ui;
        EXPECT_EQ(ui.sourceBox.text + "|" + ui.backupBox.text + "|" + ui.fromDateBox.text,
                  s.expand(c.shown));
        EXPECT_EQ(s.flags(), c.flags);
        EXPECT_EQ(s.boxes(), c.box.empty() ? Lines{} : Lines{s.expand(c.box)});
        for (const auto& box : s.rig.dialogs.shown) {
            EXPECT_EQ(box.style, box.text == s.expand(version) ? MessageStyle::OkExclamation
                                                               : MessageStyle::Ok);
        }
        EXPECT_EQ(ui.syncArrow.toolTip, " synchroniseren " + c.sync + " ");
        EXPECT_EQ(ui.verifyArrow.toolTip,
                  s.w().job.verify ? " backup wordt gecontroleerd op ontbrekende mappen "
                                   : " backup wordt  NIET  gecontroleerd op ontbrekende mappen ");
        EXPECT_TRUE(c.dustbinTip.empty() || ui.dustbinPicture.toolTip == s.expand(c.dustbinTip))
            << ui.dustbinPicture.toolTip;
        EXPECT_EQ(ui.fromDateBox.foreColour,
                  s.w().job.noDateFilter ? kSysActiveBorder : kSysWindowText);
        EXPECT_FALSE(ui.closed || s.ran() || s.rig.fs.folderExists(s.at("nieuw")));
    }
}

// A line no job can hold refuses the job in either mode, with the box that
// names the line (counted after the version line) and a log line: a NUL byte
// in a path, a dustbin kind that does not exist.
TEST(InitFileReader, AFaultyLineRefusesTheJob) {
    using namespace std::string_literals;
    const std::pair<Edits, int> cases[] = {
        {{{1, "pathsource ={source}\0x"s}}, 1},
        {{{3, "pathrecycler =bin\0"s}}, 3},
        {{{8, "dustbin =7"}}, 8},
        {{{8, "dustbin =-1"}}, 8},
        {{{8, "dustbin =1.5"}}, 8},
        {{{8, "dustbin =twee"}}, 8},
    };
    for (const auto& [edits, line] : cases) {
        for (bool unattended : {false, true}) {
            JobScene s;
            s.writeJob(s.jobText(edits));
            SCOPED_TRACE(s.jobText(edits) + (unattended ? "unattended" : ""));
            if (unattended) s.unattended("-if Init.dat");
            const std::string where = "in regel " + std::to_string(line);
            EXPECT_EQ(s.w().readJobFile(), 1);
            EXPECT_EQ(s.boxes(),
                      Lines{s.expand("Initialisatiebestand: \"{app}/Init.dat\" bevat een "
                                     "fout\r\n" +
                                     where)});
            EXPECT_EQ(s.log(),
                      Lines{s.expand("{stamp} Error: \"{app}/Init.dat\" bevat een fout " + where)});
            EXPECT_TRUE(s.w().jobRefused);
            EXPECT_FALSE(s.ran());
        }
    }
}

// Ten-megabyte lines: no hang, no run, and an unattended start refused.
// (Binary noise: see the end-to-end tests.)
TEST_F(ConfigTest, BadInputIsRefusedWithoutHanging) {
    const auto started = std::chrono::steady_clock::now();
    std::string longPath;
    for (int i = 0; i < (5 << 20); ++i) longPath += "/a";
    const std::pair<std::string, const char*> cases[] = {
        {jobText({{1, "pathsource =" + std::string(10 << 20, 'x')}}), "\" bronmap bestaat niet"},
        {jobText({{2, "pathdestination =" + longPath}}), " - kan pad niet maken"},
    };
    for (const auto& [text, ending] : cases) {
        SCOPED_TRACE(ending);
        writeJob(text);
        restart();
        unattended();
        w().readJobFile();
        EXPECT_TRUE(w().jobRefused);
        ASSERT_EQ(log().size(), 1u);
        EXPECT_NE(log()[0].find(ending), std::string::npos);
        restart();
        w().readJobFile();  // interactively: boxes, but no hang
        EXPECT_FALSE(ran());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

}  // namespace
}  // namespace zv::test
