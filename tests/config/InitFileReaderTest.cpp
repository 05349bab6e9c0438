#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "config/ConfigFixture.h"
#include "platform/Attributes.h"

namespace zv::test {
namespace {

using namespace std::string_literals;

// A job file read at start-up: the test job with some lines replaced or cut
// off, unattended as "-if NAME -MODE" or, with no piece, interactively with LF
// line ends and a byte-order mark. Unattended every refusal stops the run with
// its own log line; interactively a bad file gives its box and the reader goes
// on, nothing made and nothing run. The mode lines, read by their place and not
// by their key, set the switches, the pictures and the tooltips.
TEST(InitFileReader, Starts) {
    struct Case {
        Edits edits{};
        std::string result{};  // read result, refused, ran, dustbin marked [| shown | flags]
        std::string log{}, box{};
        const char* piece = "-if Init.dat";
        std::size_t keep = 12;
        const char* mode = "qu";
    };
    const auto bad = [](const std::string& label, const std::string& value) {
        return "Initialisatiebestand: \"{app}/Init.dat\" verwijst naar een ongeldige map.\r\n\r\n" +
               label + ": \"" + value + "\"\r\nbestaat niet of is momenteel niet toegankelijk.";
    };
    // A line no job can hold, named in the box by its number after the version line.
    const auto faulty = [](Edits edits, int line, const char* piece) {
        const std::string at = "\"{app}/Init.dat\" bevat een fout", in = std::to_string(line);
        return Case{edits, "1 refused", "{stamp} Error: " + at + " in regel " + in,
                    "Initialisatiebestand: " + at + "\r\nin regel " + in, piece};
    };
    const std::string noPath = " - kan pad niet maken (de map erboven bestaat niet)";
    const std::string line8 =
        "Initialisatiebestand: \"{app}/Init.dat\" bevat een fout\r\nin regel 8";
    const std::string version = "Versienummers van applicatie ({version})";
    const std::string other = " initialisatiebestand (20.0.1) komen niet overeen.";
    const std::string d = "|19-12-1960 12:58:58 | ", old = "|1-1-2020 00:00:00 | ";
    const std::string job = "0 | {source}|{backup}" + d, kept = "0 | {source}|{backup}" + old;
    const std::string verify = "verify | noSyncPicture", unread = "nodate | noCheckPicture";
    const std::string big(10 << 20, 'x');
    std::string longPath;
    for (int i = 0; i < (5 << 20); ++i) longPath += "/a";
    const Case cases[] = {
        {Edits(), "1 refused", "{stamp} Error: wrong date-format", "", "-if Init.dat", 0},
        {Edits(), "1 refused", "{time} An error has occurred", "", "-if Init.dat", 5},
        {edit(1, "pathsource ={root}/weg"), "1 refused",
         "{stamp} Error: \"{root}/weg\" bronmap bestaat niet"},
        {edit(2, "pathdestination ={source}/a.txt/b"), "1 refused",
         "{stamp} Error: {source}/a.txt/b" + noPath},
        // Only the backup folder itself is made, never the folders above it:
        // they may be the mount point of a disk that is not plugged in.
        {edit(2, "pathdestination ={root}/n/week/b"), "1 refused",
         "{stamp} Error: {root}/n/week/b" + noPath},
        // An unresolvable volume name is refused even interactively.
        {edit(2, "pathdestination =DISK/B"), "1 refused",
         "{stamp} Error: DISK/B - kan pad niet maken", "", ""},
        {edit(4, "dedato =gisteren"), "1 refused", "{stamp} Error: wrong date-format"},
        {edit(5, "checkdate =ja"), "1 refused", "{time} An error has occurred"},
        {edit(5, "checkdate =3"), "1 refused", "{time} An error has occurred"},
        {edit(6, "syncactive =ja"), "1 refused", "{time} - An error has occurred"},
        {Edits(), "1 refused", "{stamp} Error: \"{app}/\" - initfile not found", "", "-if"},
        // Another version stops the start as a user break.
        {edit(0, "version =Zandvast v.20.0.1"), "0 break refused", version + " en" + other},
        // Ten-megabyte lines: no hang, no run.
        {edit(1, "pathsource =" + big), "1 refused",
         "{stamp} Error: \"" + big + "\" bronmap bestaat niet"},
        {edit(2, "pathdestination =" + longPath), "1 refused",
         "{stamp} Error: " + longPath + " - kan pad niet maken"},
        faulty(edit(1, "pathsource ={source}\0x"s), 1, ""),
        faulty(edit(3, "pathrecycler =bin\0"s), 3, "-if Init.dat"),
        faulty(edit(8, "dustbin =7"), 8, ""),
        faulty(edit(8, "dustbin =-1"), 8, "-if Init.dat"),
        faulty(edit(8, "dustbin =1.5"), 8, ""),
        faulty(edit(8, "dustbin =twee"), 8, "-if Init.dat"),
        {Edits(), "0 ran", "", "", "-if Init.dat", 11},
        {edit(2, "pathdestination ={root}/nieuw"), "0 ran"},  // made, one level
        {edit(5, "checkdate =2"), "0 ran"},                   // greyed: no date filter
        {Edits(), "0 ran", "", "", "-if Elders.dat"},         // found in the working folder
        // "cf 1" asks only about a backup volume that changed.
        {edit(10, "volumelabel =BACKUP"), "0 ran", "", "", "-if Init.dat", 12, "qu cf 1"},
        {edit(3, "pathrecycler ={root}/bin", 8, "dustbin =2"), "0 ran marked",
         "{stamp} Error: \"{root}/bin\" path dustbin didn't exist, created"},
        // A dustbin folder that cannot be made is not reported as made.
        {edit(3, "pathrecycler ={root}/no/bin", 8, "dustbin =2"), "0 ran",
         "{stamp} Error: \"{root}/no/bin\" - kan pad niet maken"},
        {edit(1, "pathsource = {source}"), "0 |  {source}|{backup}" + d + verify, "",
         bad("Bronmap", " {source}"), ""},
        // The value is all after the first equals sign.
        {edit(1, "pathsource ={root}/w=g"), "0 | {root}/w=g|{backup}" + d + verify, "",
         bad("Bronmap", "{root}/w=g"), ""},
        {edit(2, "pathdestination ={root}/nieuw"), "0 | {source}|{root}/nieuw" + d + verify, "",
         bad("Doelmap", "{root}/nieuw"), ""},
        {edit(3, "pathrecycler ={root}/nieuw"), job + verify, "",
         bad("Pad prullenbak", "{root}/nieuw"), ""},
        // An unreadable date keeps the old one and is reported at the dustbin line.
        {edit(4, "dedato =gisteren"), kept + verify, "", line8, ""},
        {edit(7, "doverify =ja"), job + "| noCheckPicture", "", line8, ""},
        {edit(0, "version =Zandvast v.20.0.1"), job + verify, "", version + "\r\nen" + other + " !",
         ""},
        {edit(0, "version =Zandbank v.{version}"), job + verify, "", "", ""},  // prefix skipped
        {Edits(), "0 | ||1-1-2020 00:00:00 | " + unread, "", "", "", 0},
        {Edits(), kept + unread, "", "", "", 3},
        {edit(6, "doverify =1", 7, "syncactive =0"), job + "| noCheckPicture", "", "", ""},
        {edit(6, "syncactive =1"), job + "sync verify | syncPicture", "", "", ""},
        {edit(6, "syncactive =1", 7, "doverify =0"), job + "| noCheckPicture", "", "", ""},
        {edit(6, "syncactive =1", 8, "dustbin =1"),
         job + "sync verify dustbin win | syncDustbinPicture dustbinPicture <RECYCLER>", "", "",
         ""},
        // The recycle-bin number wins over a folder.
        {edit(3, "pathrecycler ={source}", 8, "dustbin =1"),
         job + "verify dustbin win | noSyncPicture <RECYCLER>", "", "", ""},
        {edit(3, "pathrecycler ={source}", 8, "dustbin =2"),
         job + "verify dustbin custom | noSyncPicture {source}", "", "", ""},
        {edit(5, "checkdate =0"), job + "verify nodate | noSyncPicture", "", "", ""},
        {edit(5, "checkdate =2"), job + "verify nodate | noSyncPicture", "", "", ""},  // greyed
    };
    const auto started = std::chrono::steady_clock::now();
    for (const Case& c : cases) {
        JobScene s;
        std::string text = s.jobText(c.edits, c.keep);
        SCOPED_TRACE(text.substr(0, 400) + c.piece);
        if (!*c.piece) {
            for (auto i = text.find("\r\n"); i != std::string::npos; i = text.find("\r\n", i)) {
                text.erase(i, 1);
            }
            text = "\xEF\xBB\xBF" + text;
        }
        s.writeJob(text, c.piece == "-if Elders.dat"s ? "../Elders.dat" : "Init.dat");
        s.label(s.backup, "BACKUP");
        s.unattended(c.piece, c.mode);
        AppWindow& w = s.w();
        w.job.fromDate = "1-1-2020 00:00:00";
        const int result = w.readJobFile();
        std::uint32_t attributes = 0;
        const bool marked =
            s.rig.fs.getAttributes(s.at("bin"), attributes).ok() && (attributes & kAttrReadOnly);
        std::string state = std::to_string(result) + (w.userBreak ? " break" : "") +
                            (w.jobRefused ? " refused" : "") + (s.ran() ? " ran" : "") +
                            (marked ? " marked" : "");
        const auto& ui = w.ui;
        if (!*c.piece && !w.jobRefused) {
            state += " | " + ui.sourceBox.text + "|" + ui.backupBox.text + "|" +
                     ui.fromDateBox.text + " | " + s.flags() +
                     (w.job.useDustbin ? " " + ui.dustbinPicture.toolTip : "");
            const std::string on = w.job.synchronise ? "(ingeschakeld)" : "(uitgeschakeld)";
            const bool both = w.job.useDustbin && w.job.synchronise;
            EXPECT_EQ(ui.syncArrow.toolTip,
                      " synchroniseren " + std::string(both ? "+ prullenbak " : "") + on + " ");
            EXPECT_EQ(ui.verifyArrow.toolTip,
                      w.job.verify ? " backup wordt gecontroleerd op ontbrekende mappen "
                                   : " backup wordt  NIET  gecontroleerd op ontbrekende mappen ");
            EXPECT_EQ(ui.fromDateBox.foreColour,
                      w.job.noDateFilter ? kSysActiveBorder : kSysWindowText);
            EXPECT_FALSE(ui.closed || s.rig.fs.folderExists(s.at("nieuw")));
        }
        EXPECT_EQ(state, s.expand(c.result));
        EXPECT_EQ(s.log(), c.log.empty() ? Lines{} : Lines{s.expand(c.log)});
        Lines boxes;
        for (const auto& box : s.rig.dialogs.shown) {
            boxes.push_back(box.text + (box.style == MessageStyle::OkExclamation ? " !" : ""));
        }
        EXPECT_EQ(boxes, c.box.empty() ? Lines{} : Lines{s.expand(c.box)});
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
}

}  // namespace
}  // namespace zv::test
