#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

class CommandLineOptions : public ConfigTest {
  protected:
    std::string source, backup;
    void SetUp() override {
        ConfigTest::SetUp();
        source = at("bron");
        backup = at("backup");
        makeDirs(source);
        makeDirs(backup);
        writeFile(source + "/a.txt", "a");
    }
    void apply(const std::string& text) {
        w().ApplyCommandLineOptions(frmVergelijker::SplitCommandLine(text));
    }
    std::string basic() const { return "-ps " + source + " -pd " + backup; }
    bool ran() { return rig.fs.fileExists(backup + "/a.txt"); }
    // The date box as the run found it (a completed run moves it on).
    std::string text2AtRunStart;
    void watchRunStart() {
        rig.pump.hookAt = 1;
        rig.pump.hook = [this] { text2AtRunStart = w().ui.text2.text; };
    }
    void expectRefused(const std::vector<std::string>& lines) {
        EXPECT_EQ(log(), lines);
        EXPECT_TRUE(w().ui.closed);
        EXPECT_TRUE(w().JobRefused);
        EXPECT_FALSE(w().AutoRun);
        EXPECT_FALSE(ran());
        EXPECT_TRUE(rig.dialogs.shown.empty());
    }
};

TEST_F(CommandLineOptions, AcceptedOptionsRunTheJobHidden) {
    watchRunStart();
    apply(basic() + " -dd 19-12-1960 12:58:58 -cd 1 -sy 0 -vf 1");
    EXPECT_EQ(w().ui.Text1[0].text, source);
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_EQ(w().ui.Text1[2].text, backup);
    EXPECT_EQ(w().DestinationPath, backup);
    EXPECT_EQ(w().FromDate, "19-12-1960 12:58:58");
    EXPECT_EQ(text2AtRunStart, "19-12-1960 12:58:58");
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_TRUE(w().DoVerify);
    EXPECT_FALSE(w().SyncActive);
    EXPECT_FALSE(w().ui.visible);
    EXPECT_TRUE(w().AutoRun);
    EXPECT_TRUE(ran());
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(CommandLineOptions, MissingSourceIsRefused) {
    apply("-pd " + backup + " -vf 1");
    expectRefused({time() + " Sourcepath invalid"});
}

TEST_F(CommandLineOptions, UnresolvableSourceIsRefused) {
    w().DriveList = {"/:=***"};
    apply("-ps NODISK/Data -pd " + backup);
    expectRefused({time() + " Sourcepath invalid"});
    EXPECT_EQ(w().ui.Text1[0].text, "NODISK/Data");
}

TEST_F(CommandLineOptions, MissingBackupIsRefused) {
    apply("-ps " + source + " -vf 1");
    expectRefused({time() + " Targetpath invalid"});
}

TEST_F(CommandLineOptions, DustbinWithoutFolderIsRefused) {
    apply(basic() + " -db 1");
    expectRefused({time() + " Dustbinpath invalid"});
}

TEST_F(CommandLineOptions, RecycleBinMarkerAsFolderDoesNotResolve) {
    apply(basic() + " -pr <RECYCLER> -db 1");
    expectRefused({time() + " Dustbinpath invalid"});
}

TEST_F(CommandLineOptions, DustbinNumberThatIsNoWholeNumberIsRefused) {
    makeDirs(at("bin"));
    apply(basic() + " -pr " + at("bin") + " -db twee");
    expectRefused({time() + " Dustbinpath invalid"});
}

TEST_F(CommandLineOptions, DustbinNumberWithAFractionIsRefused) {
    makeDirs(at("bin"));
    apply(basic() + " -pr " + at("bin") + " -db 1.5");
    expectRefused({time() + " Dustbinpath invalid"});
}

TEST_F(CommandLineOptions, OwnDustbinFolder) {
    makeDirs(at("bin"));
    apply(basic() + " -pr " + at("bin") + " -db 2 -vf 1 -sy 1");
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_TRUE(w().DustBinCustom);
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_EQ(w().DustBinPathLiteral, at("bin"));
    EXPECT_EQ(w().DustBinPath, at("bin"));
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, at("bin"));
    EXPECT_TRUE(ran());
}

TEST_F(CommandLineOptions, RecycleBinWithAFolderThatResolves) {
    makeDirs(at("bin"));
    apply(basic() + " -pr " + at("bin") + " -db 1");
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_TRUE(w().DustBinWin);
    EXPECT_FALSE(w().DustBinCustom);
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, "<RECYCLER>");
}

TEST_F(CommandLineOptions, NoDustbinClearsAllDustbinSwitches) {
    w().UseDustbin = w().DustBinWin = w().DustBinCustom = true;
    apply(basic() + " -db 0");
    EXPECT_FALSE(w().UseDustbin);
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_FALSE(w().DustBinCustom);
}

TEST_F(CommandLineOptions, VolumeNameMismatchIsRefusedWithTwoLines) {
    lfs.label(backup, "DATA2");
    apply(basic() + " -vl DATA1");
    expectRefused({stamp() + " Error: DATA1 <> DATA2", "Volumelabels don't match"});
    EXPECT_EQ(w().RunLog, stamp() + " Error: DATA1 <> DATA2\r\nVolumelabels don't match\r\n");
}

TEST_F(CommandLineOptions, VolumeNameThatMatchesRuns) {
    lfs.label(backup, "DATA1");
    apply(basic() + " -vl DATA1");
    EXPECT_TRUE(ran());
    EXPECT_EQ(w().VolumeLabelStored, "DATA1");
    EXPECT_EQ(w().VolumeLabelCurrent, "DATA1");
}

TEST_F(CommandLineOptions, VolumeNamesDifferingInCaseDoNotMatch) {
    lfs.label(backup, "data1");
    apply(basic() + " -vl DATA1");
    EXPECT_TRUE(w().JobRefused);
}

TEST_F(CommandLineOptions, VolumeNameInThePaths) {
    const std::string disk = at("media/disk");
    makeDirs(disk + "/Data");
    writeFile(disk + "/Data/d.txt", "d");
    w().DriveList = {disk + ":=MYDISK"};
    lfs.label(disk, "MYDISK");
    apply("-ps MYDISK/Data -pd MYDISK/Backup -vl MYDISK");
    EXPECT_EQ(w().SourcePath, disk + "/Data");
    EXPECT_EQ(w().DestinationPath, disk + "/Backup");
    EXPECT_EQ(readFile(disk + "/Backup/d.txt"), "d");
}

TEST_F(CommandLineOptions, MissingBackupFolderIsCreatedOneLevel) {
    apply("-ps " + source + " -pd " + at("nieuw"));
    EXPECT_TRUE(rig.fs.folderExists(at("nieuw")));
    EXPECT_TRUE(w().AutoRun);
}

TEST_F(CommandLineOptions, ValueTakenFromTheThirdCharacterAfterTheHyphen) {
    apply("-ps:" + source + " -pd " + backup);
    EXPECT_EQ(w().ui.Text1[0].text, source);
    restart();
    apply("-psX/data -pd " + backup);
    EXPECT_EQ(w().ui.Text1[0].text, "/data");
}

TEST_F(CommandLineOptions, OptionWithoutValueStopsTheParser) {
    apply("-ps " + source + " -pr -pd " + backup);
    EXPECT_EQ(w().ui.Text1[0].text, "");
    EXPECT_EQ(w().SourcePath, "");
    EXPECT_FALSE(w().ui.closed);
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(ran());
}

TEST_F(CommandLineOptions, UpperCaseOptionsAreIgnored) {
    apply("-PS " + source + " -pd " + backup);
    expectRefused({time() + " Sourcepath invalid"});
}

TEST_F(CommandLineOptions, LaterOptionReplacesEarlier) {
    apply("-ps /nergens -pd " + backup + " -ps " + source);
    EXPECT_EQ(w().SourcePath, source);
}

TEST_F(CommandLineOptions, UnknownPiecesAreIgnored) {
    apply(basic() + " -zz iets -Files");
    EXPECT_TRUE(ran());
}

TEST_F(CommandLineOptions, DateThatIsNoDateEmptiesTheFromDate) {
    w().FromDate = "1-1-2020 00:00:00";
    w().ui.text2.text = "1-1-2020 00:00:00";
    watchRunStart();
    apply(basic() + " -dd morgen");
    EXPECT_EQ(w().FromDate, "");
    EXPECT_EQ(text2AtRunStart, "");
}

TEST_F(CommandLineOptions, WeekdayDateKeepsOnlyTheDate) {
    apply(basic() + " -dd Mon 19-12-1960, 12:58:58");
    EXPECT_EQ(w().FromDate, formatDateTime(*parseDateTime("19-12-1960")));
}

TEST_F(CommandLineOptions, DateFilterOffMeansEveryFileCounts) {
    apply(basic() + " -cd 0");
    EXPECT_TRUE(w().NoDateCheck);
}

TEST_F(CommandLineOptions, NoDateFilterOptionLeavesAnUncheckedBoxOff) {
    apply(basic());
    EXPECT_EQ(w().ui.Check1.value, 0);
    EXPECT_TRUE(w().NoDateCheck);
}

TEST_F(CommandLineOptions, SettingsWithValuesThatAreNoNumbersKeepTheirValues) {
    w().ui.Check1.value = 1;
    w().DoVerify = true;
    w().SyncActive = true;
    apply(basic() + " -cd x -sy ja -vf nee");
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_TRUE(w().DoVerify);
    EXPECT_TRUE(w().SyncActive);
}

TEST_F(CommandLineOptions, SyncDisplayTooltipsHaveNoOuterSpaces) {
    apply(basic() + " -sy 1 -vf 1");
    EXPECT_TRUE(w().SyncActive);
    EXPECT_EQ(w().ui.Frame2.toolTip, "synchroniseren (ingeschakeld)");
    EXPECT_TRUE(w().ui.imSync.visible);
    EXPECT_FALSE(w().ui.imNoSync.visible);
}

TEST_F(CommandLineOptions, QuickModeSwitchesSyncOff) {
    apply(basic() + " -sy 1 -vf 0");
    EXPECT_FALSE(w().SyncActive);
    EXPECT_FALSE(w().DoVerify);
    EXPECT_EQ(w().ui.Frame2.toolTip, "synchroniseren (ingeschakeld)");
    EXPECT_FALSE(w().ui.imSync.visible);
    EXPECT_FALSE(w().ui.imNoSync.visible);
    EXPECT_TRUE(w().ui.imNoVfy.visible);
}

TEST_F(CommandLineOptions, KillEmptyOptionIsTaken) {
    apply(basic() + " -ke 1");
    EXPECT_TRUE(w().KillEmpty);
    restart();
    w().KillEmpty = true;
    apply(basic() + " -ke 0");
    EXPECT_FALSE(w().KillEmpty);
}

TEST_F(CommandLineOptions, SavedOptionLineRunsTheSameJob) {
    makeDirs(at("bin"));
    w().ui.Text1[0].text = source;
    w().ui.Text1[2].text = backup;
    w().ui.text2.text = "19-12-1960 12:58:58";
    w().ui.Check1.value = 1;
    w().DoVerify = true;
    w().SyncActive = true;
    w().KillEmpty = true;
    w().UseDustbin = true;
    w().DustBinCustom = true;
    w().DustBinPath = at("bin");
    w().DustBinPathLiteral = at("bin");
    lfs.label(backup, "BACKUP");
    w().CreateInitFileOnOK();
    const std::string saved = readFile(app() + "/Init.dat");
    const auto start = saved.rfind("-ps ");
    const std::string optionLine = saved.substr(start, saved.size() - start - 2);

    restart();
    apply(optionLine);
    EXPECT_FALSE(w().JobRefused);
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_EQ(w().DestinationPath, backup);
    EXPECT_EQ(w().FromDate, "19-12-1960 12:58:58");
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_TRUE(w().DoVerify);
    EXPECT_TRUE(w().SyncActive);
    EXPECT_TRUE(w().KillEmpty);
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_TRUE(w().DustBinCustom);
    EXPECT_EQ(w().DustBinPath, at("bin"));
    EXPECT_EQ(w().VolumeLabelStored, "BACKUP");
    EXPECT_TRUE(ran());
}

TEST_F(CommandLineOptions, ShowRunWindow) {
    w().ui.visible = false;
    w().ui.FolderTreeview1.visible = true;
    w().ShowRunWindow();
    EXPECT_TRUE(w().ui.visible);
    EXPECT_FALSE(w().ui.FolderTreeview1.visible);
}

}  // namespace
}  // namespace zv::test
