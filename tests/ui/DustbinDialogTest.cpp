#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Attributes.h"
#include "support/TestRig.h"
#include "ui/frmDustbin.h"

namespace zv::test {
namespace {

class DustbinDialog : public ::testing::Test {
  protected:
    frmVergelijker& w() { return rig.w(); }
    bool exists(const std::string& path) {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
    bool marked(const std::string& folder) {
        std::uint32_t attributes = 0;
        return rig.fs.getAttributes(folder, attributes).ok() && (attributes & kAttrReadOnly);
    }
    void markAsOldDustbin(const std::string& folder) {
        makeDirs(folder);
        ASSERT_TRUE(rig.fs.setAttributes(folder, kAttrDirectory | kAttrReadOnly).ok());
        w().DustBinCustom = true;
        w().DustBinPath = w().DustBinPathLiteral = folder;
    }
    std::string initFile() { return rig.appFolder() + "/Init.dat"; }

    TestRig rig;
};

TEST_F(DustbinDialog, ARecycleBinJobOpensWithNoOptionChosen) {
    frmDustbin d(w());
    d.Form_Load();
    EXPECT_EQ(d.caption, "   Prullenbak");
    EXPECT_EQ(d.Text1.text, "<RECYCLER>");
    EXPECT_EQ(d.optPrullenbak[1].value, 0);
    EXPECT_EQ(d.optPrullenbak[2].value, 0);
    EXPECT_EQ(d.DustbinChoice, 0);
    EXPECT_FALSE(d.FolderTreeview1.visible);
    EXPECT_EQ(d.lblOptWindowsPrullenbak.text, "Windows RECYCLER");
    EXPECT_EQ(d.lblOptCustomPrullenbak.text, "Gebruik volgende map :");
    EXPECT_EQ(d.cmdOK.text, "OK");
    EXPECT_EQ(d.cmdAnnuleren.text, "Exit");
}

TEST_F(DustbinDialog, OKBeforeAnyChoiceSaysThePathDoesNotExist) {
    frmDustbin d(w());
    d.Form_Load();
    d.cmdOK_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Pad bestaat niet.");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::Ok);
    EXPECT_FALSE(d.closed);
}

TEST_F(DustbinDialog, AFolderJobOpensWithItsPathAsTyped) {
    w().DustBinCustom = true;
    w().DustBinPath = "/media/u/SCHIJF/Bak";
    w().DustBinPathLiteral = "SCHIJF/Bak";
    frmDustbin d(w());
    d.Form_Load();
    EXPECT_EQ(d.optPrullenbak[2].value, 1);
    EXPECT_EQ(d.DustbinChoice, 2);
    EXPECT_TRUE(d.Text1.enabled);
    EXPECT_EQ(d.Text1.backColour, kColourWhite);
    EXPECT_EQ(d.Text1.text, "SCHIJF/Bak");
    EXPECT_EQ(d.OldDustBinPath, "/media/u/SCHIJF/Bak");
}

TEST_F(DustbinDialog, TheOptionsSetTheBox) {
    w().DustBinPath = "/data/bak";
    frmDustbin d(w());
    d.Form_Load();
    d.optPrullenbak_Click(2);
    EXPECT_TRUE(d.Text1.enabled);
    EXPECT_EQ(d.Text1.backColour, kColourWhite);
    EXPECT_EQ(d.Text1.text, "/data/bak");
    d.optPrullenbak_Click(1);
    EXPECT_FALSE(d.Text1.enabled);
    EXPECT_EQ(d.Text1.backColour, kSysInactiveCaption);
    EXPECT_EQ(d.Text1.text, "");
    EXPECT_EQ(d.DustbinChoice, 1);
    EXPECT_EQ(d.optPrullenbak[1].value, 1);
    EXPECT_EQ(d.optPrullenbak[2].value, 0);
}

TEST_F(DustbinDialog, TheRecycleBinIsSavedAndTheOldFolderUnmarked) {
    const std::string old = rig.root / "oude-bak";
    markAsOldDustbin(old);
    frmDustbin d(w());
    d.Form_Load();
    d.optPrullenbak_Click(1);
    d.cmdOK_Click();
    EXPECT_TRUE(d.closed);
    EXPECT_FALSE(w().DustBinCustom);
    EXPECT_TRUE(w().DustBinWin);
    EXPECT_EQ(w().DustBinPath, "");
    EXPECT_EQ(w().DustBinPathLiteral, "");
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, "<RECYCLER>");
    EXPECT_FALSE(marked(old));
    EXPECT_TRUE(exists(initFile()));
}

TEST_F(DustbinDialog, ABareDriveIsNoFullPath) {
    makeDirs(rig.root / "media/SCHIJF");
    w().DriveList = {rig.root / "media/SCHIJF:=SCHIJF"};
    frmDustbin d(w());
    d.Form_Load();
    for (const std::string& text :
         {std::string("SCHIJF"), rig.root / "media/SCHIJF", std::string("/")}) {
        d.optPrullenbak_Click(2);
        d.Text1.text = text;
        d.cmdOK_Click();
        ASSERT_FALSE(rig.dialogs.shown.empty()) << text;
        EXPECT_EQ(rig.dialogs.shown.back().text, "Volledige padnaam S.V.P") << text;
        EXPECT_FALSE(d.closed);
    }
}

TEST_F(DustbinDialog, AnExistingFolderIsMarkedWithoutSavingTheJob) {
    const std::string old = rig.root / "oude-bak";
    markAsOldDustbin(old);
    const std::string chosen = rig.root / "nieuwe-bak";
    makeDirs(chosen);
    frmDustbin d(w());
    d.Form_Load();
    d.Text1.text = chosen;
    d.cmdOK_Click();
    EXPECT_TRUE(d.closed);
    EXPECT_TRUE(marked(chosen));
    EXPECT_FALSE(marked(old));
    EXPECT_TRUE(w().DustBinCustom);
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_EQ(w().DustBinPath, chosen);
    EXPECT_EQ(w().DustBinPathLiteral, chosen);
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, chosen);
    EXPECT_FALSE(exists(initFile()));
}

TEST_F(DustbinDialog, TheSameFolderAgainKeepsItsMark) {
    const std::string old = rig.root / "bak";
    markAsOldDustbin(old);
    frmDustbin d(w());
    d.Form_Load();
    d.cmdOK_Click();
    EXPECT_TRUE(d.closed);
    EXPECT_TRUE(marked(old));
}

TEST_F(DustbinDialog, ANewFolderAnsweredYesIsMadeMarkedAndSaved) {
    const std::string chosen = rig.root / "nieuw/diep/bak";
    frmDustbin d(w());
    d.Form_Load();
    d.optPrullenbak_Click(2);
    d.Text1.text = chosen;
    rig.dialogs.script(MessageAnswer::Yes);
    d.cmdOK_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Map bestaat niet. Maken ?");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
    EXPECT_TRUE(d.closed);
    EXPECT_TRUE(exists(chosen));
    EXPECT_TRUE(marked(chosen));
    EXPECT_EQ(w().DustBinPath, chosen);
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, chosen);
    EXPECT_TRUE(exists(initFile()));
}

TEST_F(DustbinDialog, ANewFolderAnsweredNoGoesBackToTheBox) {
    const std::string chosen = rig.root / "nieuw";
    frmDustbin d(w());
    d.Form_Load();
    d.optPrullenbak_Click(2);
    d.Text1.text = chosen;
    d.cmdOK_Click();
    EXPECT_FALSE(d.closed);
    EXPECT_FALSE(exists(chosen));
    EXPECT_EQ(d.focus, "Text1");
    EXPECT_FALSE(exists(initFile()));
}

TEST_F(DustbinDialog, AFolderThatCannotBeMadeIsSaid) {
    writeFile(rig.root / "bestand", "x");
    frmDustbin d(w());
    d.Form_Load();
    d.optPrullenbak_Click(2);
    d.Text1.text = rig.root / "bestand/bak";
    rig.dialogs.script(MessageAnswer::Yes);
    d.cmdOK_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1].text, "Kan map niet maken.");
    EXPECT_FALSE(d.closed);
    EXPECT_FALSE(w().DustBinCustom);
}

TEST_F(DustbinDialog, AVolumeNamePathIsKeptAsTypedAndStoredResolved) {
    makeDirs(rig.root / "media/SCHIJF/Bak");
    w().DriveList = {rig.root / "media/SCHIJF:=SCHIJF"};
    frmDustbin d(w());
    d.Form_Load();
    d.optPrullenbak_Click(2);
    d.Text1.text = "SCHIJF/Bak";
    d.cmdOK_Click();
    EXPECT_TRUE(d.closed);
    EXPECT_EQ(w().DustBinPath, rig.root / "media/SCHIJF/Bak");
    EXPECT_EQ(w().DustBinPathLiteral, "SCHIJF/Bak");
}

TEST_F(DustbinDialog, TheEmptyFolderSwitchActsAtOnceEvenOnExit) {
    frmDustbin d(w());
    d.Form_Load();
    EXPECT_FALSE(d.Line5.visible);
    EXPECT_EQ(d.Image2.toolTip, "lege mappen behouden (in de backup)");
    d.Image2_Click();
    EXPECT_TRUE(d.Line5.visible);
    EXPECT_TRUE(d.Line6.visible);
    EXPECT_EQ(d.Image2.toolTip, "lege mappen wissen (in de backup)");
    d.cmdAnnuleren_Click();
    EXPECT_TRUE(d.closed);
    EXPECT_TRUE(w().KillEmpty);
    frmDustbin again(w());
    again.Form_Load();
    EXPECT_TRUE(again.Line5.visible);
    again.Image2_Click();
    EXPECT_FALSE(w().KillEmpty);
}

TEST_F(DustbinDialog, ThePickerStandsInForTheBox) {
    w().DustBinCustom = true;
    w().DustBinPath = w().DustBinPathLiteral = "/data/bak";
    frmDustbin d(w());
    d.Form_Load();
    d.Text1_DblClick();
    EXPECT_TRUE(d.FolderTreeview1.visible);
    EXPECT_FALSE(d.Text1.visible);
    EXPECT_FALSE(d.optPrullenbak[1].visible);
    EXPECT_FALSE(d.optPrullenbak[2].visible);
    EXPECT_FALSE(d.cmdOK.visible);
    EXPECT_TRUE(d.cmdAnnuleren.visible);
    EXPECT_EQ(d.pickerFolder, "/data/bak");
    d.pickerFolder = "/data/andere";
    d.FolderTreeview1_ChoiceEnded();
    EXPECT_FALSE(d.FolderTreeview1.visible);
    EXPECT_TRUE(d.Text1.visible);
    EXPECT_TRUE(d.cmdOK.visible);
    EXPECT_EQ(d.Text1.text, "/data/andere");
    d.Text1_DblClick();
    d.pickerFolder = "/elders";
    d.FolderTreeview1_ChoiceCancelled();
    EXPECT_EQ(d.Text1.text, "/data/andere");
}

TEST_F(DustbinDialog, TheDisabledBoxDoesNotOpenThePicker) {
    frmDustbin d(w());
    d.Form_Load();
    d.Text1_DblClick();
    EXPECT_FALSE(d.FolderTreeview1.visible);
}

}  // namespace
}  // namespace zv::test
