#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

class InitFileWriter : public ConfigTest {
  protected:
    std::string initFile() const { return readFile(app() + "/Init.dat"); }
    // A job as the window holds it after the user confirmed it.
    void fillWindow() {
        w().ui.Text1[0].text = source;
        w().ui.Text1[2].text = backup;
        w().ui.text2.text = "1-2-2026 03:04:05";
        w().ui.Check1.value = 1;
        w().SyncActive = w().DoVerify = w().KillEmpty = true;
    }
};

// Without a job file the default job is shown, and nothing is written until
// the user confirms; then twelve CR LF lines.
TEST_F(InitFileWriter, DefaultJob) {
    label(app(), "SYSTEM");
    ASSERT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(flags(), "| imNoVfy");
    EXPECT_EQ(w().SourcePath, "");
    EXPECT_FALSE(rig.fs.fileExists(app() + "/Init.dat"));
    w().CreateInitFileOnOK();
    const std::string a = app();
    EXPECT_EQ(initFile(), crlf({"version =Zandvast v." + appVersion(), "pathsource =" + a,
                                "pathdestination =" + a + "/Backup", "pathrecycler =",
                                "dedato =19-12-1960 12:58:58", "checkdate =1", "syncactive =0",
                                "doverify =0", "dustbin =0", "killempty =0", "volumelabel =SYSTEM",
                                "-ps " + a + " -pd " + a +
                                    "/Backup -dd 19-12-1960 12:58:58 -cd 1 -sy 0 -vf 0 -ke 0 "
                                    "-vl SYSTEM"}));
}

// The dustbin number of line 9 and the "-db" number of line 12 follow rules
// of their own; a greyed date filter counts as off in line 6 only.
TEST_F(InitFileWriter, DustbinAndDateFilterNumbers) {
    const std::string tail = " -dd 1-2-2026 03:04:05 -cd ";
    const std::pair<std::string, std::string> cases[] = {
        {"use win bin",
         "checkdate =1 dustbin =2 / -pr {root}/bak" + tail + "1 -sy 1 -vf 1 -db 1 -ke 1 on"},
        {"use", "checkdate =1 dustbin =1 /" + tail + "1 -sy 1 -vf 1 -db 1 -ke 1 on"},
        {"", "checkdate =1 dustbin =0 /" + tail + "1 -sy 1 -vf 1 -ke 1 off"},
        {"custom", "checkdate =1 dustbin =0 /" + tail + "1 -sy 1 -vf 1 -db 2 -ke 1 on"},
        {"grey", "checkdate =0 dustbin =0 /" + tail + "2 -sy 1 -vf 1 -ke 1 off"},
    };
    for (const auto& [set, expected] : cases) {
        restart();
        fillWindow();
        w().UseDustbin = set.find("use") != std::string::npos;
        w().DustBinWin = set.find("win") != std::string::npos;
        w().DustBinCustom = set.find("custom") != std::string::npos;
        if (set.find("bin") != std::string::npos)
            w().DustBinPath = w().DustBinPathLiteral = at("bak");
        if (set == "grey") w().ui.Check1.value = 2;
        w().CreateInitFileOnOK();
        const std::string text = initFile();
        const auto line = [&](const std::string& key) {
            const auto at = text.find("\r\n" + key) + 2;
            return text.substr(at, text.find("\r\n", at) - at);
        };
        EXPECT_EQ(line("checkdate") + " " + line("dustbin") + " /" +
                      line("-ps").substr(("-ps " + source + " -pd " + backup).size()) +
                      (w().UseDustbin ? " on" : " off"),
                  expand(expected))
            << set;
    }
}

// Volume names are written as the user typed them, not resolved.
TEST_F(InitFileWriter, PathsAreWrittenAsTheyStand) {
    w().DriveList = {at("media") + ":=MYDISK"};
    label(at("media"), "MYDISK");
    w().ui.Text1[0].text = "MYDISK/Data";
    w().ui.Text1[2].text = "MYDISK/Backup";
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\npathsource =MYDISK/Data\r\npathdestination =MYDISK/Backup\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nvolumelabel =MYDISK\r\n-ps MYDISK/Data -pd MYDISK/Backup -dd"),
              std::string::npos);
}

// Written, read back, written again: the same job and the same bytes. Line 12
// passed back as options ("-ke" included) runs the same job.
TEST_F(InitFileWriter, RoundTripGivesTheSameJob) {
    const std::string bin = at("prullen bak");
    makeDirs(bin);
    fillWindow();
    w().ui.text2.text = "31-12-2025 23:59:58";
    w().UseDustbin = w().DustBinCustom = true;
    w().DustBinPath = w().DustBinPathLiteral = bin;
    label(backup, "BACKUP");
    w().CreateInitFileOnOK();
    const std::string first = initFile();

    restart();
    ASSERT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(w().SourcePath + "|" + w().DestinationPath + "|" + w().DustBinPath,
              source + "|" + backup + "|" + bin);
    EXPECT_EQ(flags(), "sync verify dustbin custom killempty | imSyncPlus imPrullenbak");
    EXPECT_EQ(w().VolumeLabelStored + "|" + w().VolumeLabelCurrent, "BACKUP|BACKUP");
    // Saved anew, not rewritten in place, so that a crash or a full disk never
    // leaves half a file (the platform tests fill the disk).
    auto inode = [this] {
        struct stat st = {};
        ::stat((app() + "/Init.dat").c_str(), &st);
        return st.st_ino;
    };
    const auto before = inode();
    w().CreateInitFileOnOK();
    EXPECT_NE(inode(), before);
    EXPECT_EQ(initFile(), first);

    restart();
    std::string fromAtRunStart;
    rig.pump.hookAt = 1;
    rig.pump.hook = [&] { fromAtRunStart = w().FromDate; };
    apply(first.substr(first.rfind("-ps "), first.size() - first.rfind("-ps ") - 2));
    EXPECT_FALSE(w().JobRefused) << ::testing::PrintToString(log());
    EXPECT_EQ(w().DestinationPath + "|" + w().DustBinPath, backup + "|" + bin);
    EXPECT_EQ(fromAtRunStart, "31-12-2025 23:59:58");
    EXPECT_EQ(flags(), "sync verify dustbin custom killempty | imSync");
    EXPECT_EQ(w().VolumeLabelStored, "BACKUP");
    EXPECT_TRUE(ran());
}

}  // namespace
}  // namespace zv::test
