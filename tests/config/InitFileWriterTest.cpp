#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

class InitFileWriter : public ConfigTest {
  protected:
    std::string initFile() const { return readFile(app() + "/Init.dat"); }
    // A job as the window holds it after the user confirmed it.
    void fillWindow() {
        w().ui.Text1[0].text = at("Bron map");
        w().ui.Text1[2].text = at("Back-up één");
        w().ui.text2.text = "1-2-2026 03:04:05";
        w().ui.Check1.value = 1;
        w().SyncActive = true;
        w().DoVerify = true;
        w().KillEmpty = true;
    }
};

TEST_F(InitFileWriter, DefaultJobIsWrittenAsTwelveCrLfLines) {
    lfs.label(app(), "SYSTEM");
    ASSERT_EQ(w().ReadInitFile(), 0);  // no file: the default job
    w().CreateInitFileOnOK();
    const std::string a = app();
    EXPECT_EQ(
        initFile(),
        crlf({versionLine(), "pathsource =" + a, "pathdestination =" + a + "/Backup",
              "pathrecycler =", "dedato =19-12-1960 12:58:58", "checkdate =1", "syncactive =0",
              "doverify =0", "dustbin =0", "killempty =0", "volumelabel =SYSTEM",
              "-ps " + a + " -pd " + a +
                  "/Backup -dd 19-12-1960 12:58:58 -cd 1 -sy 0 -vf 0 -ke 0 "
                  "-vl SYSTEM"}));
    EXPECT_EQ(w().VolumeLabelCurrent, "SYSTEM");
}

TEST_F(InitFileWriter, WritesInOneStep) {
    fillWindow();
    w().CreateInitFileOnOK();
    EXPECT_EQ(lfs.atomicWrites, 1);
    EXPECT_EQ(lfs.plainWrites, 0);
}

TEST_F(InitFileWriter, BoxTextsAreWrittenAsTheyStandNotResolved) {
    w().DriveList = {at("media") + ":=MYDISK"};
    makeDirs(at("media"));
    lfs.label(at("media"), "MYDISK");
    w().ui.Text1[0].text = "MYDISK/Data";
    w().ui.Text1[2].text = "MYDISK/Backup";
    w().ui.text2.text = "19-12-1960 12:58:58";
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\npathsource =MYDISK/Data\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\npathdestination =MYDISK/Backup\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nvolumelabel =MYDISK\r\n"), std::string::npos);
    EXPECT_NE(text.find("-ps MYDISK/Data -pd MYDISK/Backup -dd"), std::string::npos);
}

TEST_F(InitFileWriter, DustbinFolderNumberAndOptionNumberFollowTheirOwnRules) {
    fillWindow();
    w().UseDustbin = true;
    w().DustBinWin = true;
    w().DustBinPath = at("bak");
    w().DustBinPathLiteral = at("bak");
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\ndustbin =2\r\n"), std::string::npos);
    EXPECT_NE(text.find(" -pr " + at("bak") + " -dd "), std::string::npos);
    EXPECT_NE(text.find(" -vf 1 -db 1 -ke 1\r\n"), std::string::npos);
}

TEST_F(InitFileWriter, RecycleBinWithoutFolder) {
    fillWindow();
    w().UseDustbin = true;
    w().DustBinPath.clear();
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\ndustbin =1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\npathrecycler =\r\n"), std::string::npos);
    EXPECT_EQ(text.find(" -pr "), std::string::npos);
    EXPECT_NE(text.find(" -db 1 "), std::string::npos);
}

TEST_F(InitFileWriter, NoDustbinWritesNoDustbinOption) {
    fillWindow();
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\ndustbin =0\r\n"), std::string::npos);
    EXPECT_EQ(text.find(" -db "), std::string::npos);
    EXPECT_EQ(text.find(" -vl "), std::string::npos);  // no volume name here
}

TEST_F(InitFileWriter, OwnFolderKindSwitchesTheDustbinOnForTheOptionLine) {
    fillWindow();
    w().DustBinCustom = true;  // UseDustbin still false
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\ndustbin =0\r\n"), std::string::npos);  // line 9 came first
    EXPECT_NE(text.find(" -db 2 "), std::string::npos);
    EXPECT_TRUE(w().UseDustbin);
}

TEST_F(InitFileWriter, DustbinModeCode) {
    w().UseDustbin = false;
    EXPECT_EQ(w().DustbinModeCode(), 0);
    w().UseDustbin = true;
    EXPECT_EQ(w().DustbinModeCode(), 1);
    w().DustBinCustom = true;
    EXPECT_EQ(w().DustbinModeCode(), 2);
    w().DustBinWin = true;
    EXPECT_EQ(w().DustbinModeCode(), 1);
    w().UseDustbin = false;
    w().DustBinWin = false;
    EXPECT_EQ(w().DustbinModeCode(), 2);
    EXPECT_TRUE(w().UseDustbin);
}

TEST_F(InitFileWriter, GreyedDateFilterCountsAsOff) {
    fillWindow();
    w().ui.Check1.value = 2;
    w().CreateInitFileOnOK();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\ncheckdate =0\r\n"), std::string::npos);
    EXPECT_NE(text.find(" -cd 2 "), std::string::npos);
}

TEST_F(InitFileWriter, NamedJobFileGoesToTheApplicationFolder) {
    fillWindow();
    w().InitFileName = "Week job.dat";
    w().CreateInitFileOnOK();
    EXPECT_NE(readFile(app() + "/Week job.dat").find("pathsource ="), std::string::npos);

    w().InitFileName = at("elders.dat");  // holds a separator: used as it is
    w().CreateInitFileOnOK();
    EXPECT_NE(readFile(at("elders.dat")).find("pathsource ="), std::string::npos);
}

TEST_F(InitFileWriter, AfterARunTheFromDateIsTheRunsStart) {
    fillWindow();
    setClock("7-3-2026 10:00:00");
    w().RunStartTime = rig.clock.current;
    setClock("7-3-2026 11:30:00");  // the run took ninety minutes
    w().SaveJobAfterRun();
    const std::string text = initFile();
    EXPECT_NE(text.find("\r\ndedato =7-3-2026 10:00:00\r\n"), std::string::npos);
    EXPECT_NE(text.find(" -dd 7-3-2026 10:00:00 -cd 1"), std::string::npos);
    EXPECT_EQ(w().ui.text2.text, "7-3-2026 10:00:00");
    EXPECT_EQ(text.find("11:30"), std::string::npos);
    EXPECT_TRUE(rig.fs.fileExists(app() + "/Error.Log"));
}

TEST_F(InitFileWriter, BrokenOffRunLeavesTheJobFileAlone) {
    writeJob(jobLines(at("s"), at("d")));
    const std::string before = initFile();
    fillWindow();
    w().UserBreak = true;
    w().SaveJobAfterRun();
    EXPECT_EQ(initFile(), before);
    ASSERT_FALSE(log().empty());
    EXPECT_EQ(log().back(), stamp() + "   -  user break");
    EXPECT_NE(errorLog().find(stamp() + "   -  user break\r\n"), std::string::npos);
}

TEST_F(InitFileWriter, RoundTripGivesTheSameJob) {
    const std::string source = at("Mijn bestanden ü");
    const std::string backup = at("Back up");
    const std::string bin = at("prullen bak");
    makeDirs(source);
    makeDirs(backup);
    makeDirs(bin);
    w().ui.Text1[0].text = source;
    w().ui.Text1[2].text = backup;
    w().ui.text2.text = "31-12-2025 23:59:58";
    w().ui.Check1.value = 1;
    w().SyncActive = true;
    w().DoVerify = true;
    w().UseDustbin = true;
    w().DustBinCustom = true;
    w().DustBinPath = bin;
    w().DustBinPathLiteral = bin;
    w().KillEmpty = true;
    lfs.label(backup, "BACKUP");
    w().CreateInitFileOnOK();

    restart();
    ASSERT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_EQ(w().ui.Text1[0].text, source);
    EXPECT_EQ(w().DestinationPath, backup);
    EXPECT_EQ(w().ui.Text1[2].text, backup);
    EXPECT_EQ(w().DustBinPathLiteral, bin);
    EXPECT_EQ(w().DustBinPath, bin);
    EXPECT_EQ(w().FromDate, "31-12-2025 23:59:58");
    EXPECT_EQ(w().ui.text2.text, "31-12-2025 23:59:58");
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_FALSE(w().NoDateCheck);
    EXPECT_TRUE(w().SyncActive);
    EXPECT_TRUE(w().DoVerify);
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_TRUE(w().DustBinCustom);
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_TRUE(w().KillEmpty);
    EXPECT_EQ(w().VolumeLabelStored, "BACKUP");
    EXPECT_EQ(w().VolumeLabelCurrent, "BACKUP");

    // Writing it again gives the same bytes.
    const std::string first = readFile(app() + "/Init.dat");
    w().CreateInitFileOnOK();
    EXPECT_EQ(readFile(app() + "/Init.dat"), first);
}

// A full disk while the job is saved leaves the old job file whole.
class InitFileOnFullDisk : public InitFileWriter {
  protected:
    bool mounted = false;
    void SetUp() override {
        InitFileWriter::SetUp();
        if (mount("zvtest", app().c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) umount2(app().c_str(), MNT_DETACH);
    }
};

TEST_F(InitFileOnFullDisk, OldJobFileSurvives) {
    writeJob(jobLines(at("s"), at("d")));
    const std::string before = initFile();
    // Fill the disk to the last byte.
    std::string filler(4096, 'x');
    {
        FILE* f = std::fopen((app() + "/filler").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        while (std::fwrite(filler.data(), 1, filler.size(), f) == filler.size() &&
               std::fflush(f) == 0) {
        }
        std::fclose(f);
    }
    fillWindow();
    w().ui.Text1[0].text = "/" + std::string(6000, 'a');  // needs more room than the old file
    w().CreateInitFileOnOK();
    EXPECT_EQ(initFile(), before);
}

}  // namespace
}  // namespace zv::test
