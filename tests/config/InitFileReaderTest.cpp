#include <gtest/gtest.h>

#include <string>

#include "config/ConfigFixture.h"
#include "platform/Attributes.h"

namespace zv::test {
namespace {

// A job file read unattended (a refusal logs and stops) or interactively (a box, nothing run).
TEST(InitFileReader, Starts) {
    struct Case {
        const char* piece;
        Edits edits;
        // read result, refused, ran, dustbin marked [| shown | flags] [/ log] [/ box]
        std::string expected;
        std::size_t keep = 12;
        const char* mode = "qu";
        bool lineFeeds = false;  // lines end in LF alone, as a Linux editor leaves them
    };
    const char* q = "-if Init.dat";
    const auto bad = [](const std::string& label, const std::string& value) {
        return " / Initialisatiebestand: \"{app}/Init.dat\" verwijst naar een ongeldige "
               "map.\r\n\r\n" +
               label + ": \"" + value + "\"\r\nbestaat niet of is momenteel niet toegankelijk.";
    };
    const std::string no = "1 refused / {stamp} Error: ";
    const std::string fault = "\"{app}/Init.dat\" bevat een fout",
                      inLine = " / Initialisatiebestand: " + fault + "\r\nin regel ";
    // A line no job can hold, named in the box by its number after the version line.
    const auto faulty = [&](const char* piece, Edits edits, int line) {
        const std::string in = std::to_string(line);
        return Case{piece, edits, no + fault + " in regel " + in + inLine + in};
    };
    const std::string noPath = " - kan pad niet maken (de map erboven bestaat niet)";
    const std::string version = "Versienummers van applicatie ({version})";
    const std::string other = " initialisatiebestand (20.0.1) komen niet overeen.";
    const std::string d = "|19-12-1960 12:58:58 | ", old = "|1-1-2020 00:00:00 | ";
    const std::string job = "0 | {source}|{backup}" + d, verify = "verify | noSyncPicture";
    const Case cases[] = {
        {q, {}, no + "wrong date-format", 0},
        {q, {}, "1 refused / {time} An error has occurred", 5},
        // Only the backup folder is made, never those above it (an unplugged disk's mount point).
        {q, Edits{{2, "pathdestination ={root}/n/week/b"}}, no + "{root}/n/week/b" + noPath},
        {q, Edits{{4, "dedato =gisteren"}}, no + "wrong date-format"},
        {q, Edits{{5, "checkdate =3"}}, "1 refused / {time} An error has occurred"},
        {q, Edits{{6, "syncactive =ja"}}, "1 refused / {time} - An error has occurred"},
        // Another version stops the start as a user break.
        {q, Edits{{0, "version =Zandvast v.20.0.1"}},
         "0 break refused / " + version + " en" + other},
        faulty("", Edits{{8, "dustbin =7"}}, 8),
        faulty(q, Edits{{8, "dustbin =-1"}}, 8),
        faulty("", Edits{{8, "dustbin =1.5"}}, 8),
        faulty(q, Edits{{10, std::string("volumelabel =A\0B", 16)}}, 10),  // a NUL, last value line
        {q, Edits{{2, "pathdestination ={root}/nieuw"}}, "0 ran"},         // made, one level
        {q, Edits{{1, "pathsource ={root}/weg"}}, no + "\"{root}/weg\" bronmap bestaat niet"},
        {q, Edits{{1, "pathsource ="}}, no + "\"\" bronmap bestaat niet"},  // no source, no run
        {q, Edits{{5, "checkdate =2"}}, "0 ran"},  // greyed: no date filter
        // "cf 1" asks only about a backup volume that changed.
        {q, Edits{{10, "volumelabel =BACKUP"}}, "0 ran", 12, "qu cf 1"},
        {q, Edits{{3, "pathrecycler ={root}/bin"}, {8, "dustbin =2"}},
         "0 ran marked / {stamp} Error: \"{root}/bin\" path dustbin didn't exist, created"},
        // A dustbin folder that cannot be made is not reported as made.
        {q, Edits{{3, "pathrecycler ={root}/no/bin"}, {8, "dustbin =2"}},
         "0 ran / {stamp} Error: \"{root}/no/bin\" - kan pad niet maken"},
        // The value is all after the first equals sign.
        {"", Edits{{1, "pathsource ={root}/w=g"}},
         "0 | {root}/w=g|{backup}" + d + verify + bad("Bronmap", "{root}/w=g")},
        {"", Edits{{2, "pathdestination ={root}/nieuw"}},
         "0 | {source}|{root}/nieuw" + d + verify + bad("Doelmap", "{root}/nieuw")},
        {"", Edits{{3, "pathrecycler ={root}/nieuw"}},
         job + verify + bad("Pad prullenbak", "{root}/nieuw")},
        // An unreadable date keeps the old one and is reported at the dustbin line.
        {"", Edits{{4, "dedato =gisteren"}}, "0 | {source}|{backup}" + old + verify + inLine + "8"},
        {"", Edits{{7, "doverify =ja"}}, job + "| noCheckPicture" + inLine + "8"},
        {"", Edits{{0, "version =Zandvast v.20.0.1"}},
         job + verify + " / " + version + "\r\nen" + other + " !"},
        {"", {}, "0 | {source}|{backup}" + old + "nodate | noCheckPicture", 3},
        {"", Edits{{6, "syncactive =1"}}, job + "sync verify | syncPicture", 12, "qu", true},
        {"", Edits{{6, "doverify =1"}, {7, "syncactive =0"}}, job + "| noCheckPicture"},
        // The recycle-bin number wins over a folder.
        {"", Edits{{3, "pathrecycler ={source}"}, {8, "dustbin =1"}},
         job + "verify dustbin win | noSyncPicture <RECYCLER>"},
        {"", Edits{{3, "pathrecycler ={source}"}, {8, "dustbin =2"}},
         job + "verify dustbin custom | noSyncPicture {source}"},
        {"", Edits{{5, "checkdate =0"}}, job + "verify nodate | noSyncPicture"},
    };
    for (const Case& c : cases) {
        JobScene s;
        std::string text = s.jobText(c.edits, c.keep);
        if (c.lineFeeds) std::erase(text, '\r');
        SCOPED_TRACE(text.substr(0, 400) + c.piece);
        s.writeJob(text);
        s.label(s.backup, "BACKUP");
        AppWindow& w = s.w();
        w.commandToken = c.piece;
        w.commandOption = c.mode;
        w.job.fromDate = "1-1-2020 00:00:00";
        w.showSyncArrowFaded();  // as an earlier job without synchronising left it
        std::string got = std::to_string(w.readJobFile());
        got += std::string(w.userBreak ? " break" : "") + (w.jobRefused ? " refused" : "") +
               (s.ran() ? " ran" : "");
        std::uint32_t attributes = 0;
        if (s.rig.fs.getAttributes(s.at("bin"), attributes).ok() && (attributes & kAttrReadOnly))
            got += " marked";
        if (!*c.piece && !w.jobRefused) {
            got += " | " + w.ui.sourceBox.text + "|" + w.ui.backupBox.text + "|" +
                   w.ui.fromDateBox.text + " | " + s.flags() +
                   (w.job.useDustbin ? " " + w.ui.dustbinPicture.toolTip : "");
            EXPECT_FALSE(w.ui.closed || s.rig.fs.folderExists(s.at("nieuw")));
            EXPECT_EQ(w.ui.syncArrowLines[0],
                      w.job.synchronise ? kSys3DDarkShadow : kSys3DHighlight);
        }
        for (const std::string& line : s.log()) got += " / " + line;
        for (const auto& box : s.rig.dialogs.shown)
            got += " / " + box.text + (box.style == MessageStyle::OkExclamation ? " !" : "");
        EXPECT_EQ(got, s.expand(c.expected));
    }
}

}  // namespace
}  // namespace zv::test
