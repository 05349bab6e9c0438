#include <gtest/gtest.h>

#include "support/TestRig.h"

namespace zv::test {
namespace {

TEST(FormResize, SetsTheCaptionWhenNotMinimised) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.caption = "42 %   Zandvast v.1.0.0";
    w.Minimised = true;
    w.ui.state = WindowState::Normal;
    w.Form_Resize();
    const Version& v = w.svc.env.version;
    EXPECT_EQ(w.ui.caption, "Zandvast & Backup Tool v." + std::to_string(v.major) + "." +
                                std::to_string(v.minor) + "." + std::to_string(v.revision));
    EXPECT_FALSE(w.Minimised);
}

TEST(FormResize, LeavesTheCaptionAloneWhenMinimised) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.caption = "42 %";
    w.ui.state = WindowState::Minimised;
    w.Form_Resize();
    EXPECT_EQ(w.ui.caption, "42 %");
    EXPECT_TRUE(w.Minimised);
}

TEST(Check1, CheckedTurnsTheDateFilterOnAndAsksForConfirmation) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.cmdGo.enabled = true;
    w.ui.cmdGo.text = ">-->>  GO  <<--<";
    w.ui.Check1.value = 1;
    w.Check1_Click();
    EXPECT_FALSE(w.NoDateCheck);
    EXPECT_EQ(w.ui.text2.foreColour, kSysWindowText);
    EXPECT_FALSE(w.ui.cmdGo.enabled);
    EXPECT_EQ(w.ui.cmdGo.text, ">------------>>>>");
}

TEST(Check1, UncheckedGreysTheDateAndAsksForConfirmation) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.cmdGo.enabled = true;
    w.ui.Check1.value = 0;
    w.Check1_Click();
    EXPECT_TRUE(w.NoDateCheck);
    EXPECT_EQ(w.ui.text2.foreColour, kSysActiveBorder);
    EXPECT_FALSE(w.ui.cmdGo.enabled);
    EXPECT_EQ(w.ui.cmdGo.text, ">------------>>>>");
}

TEST(Check1, GreyedCountsAsUnchecked) {
    TestRig rig;
    rig.w().ui.Check1.value = 2;
    rig.w().Check1_Click();
    EXPECT_TRUE(rig.w().NoDateCheck);
}

TEST(InputGuards, TypingWhileBusyChangesNothing) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.Busy = true;
    w.ui.panel(1) = "OK";
    w.ui.Text1[0].foreColour = kColourRed;
    EXPECT_TRUE(w.Text1_KeyPress(0));
    EXPECT_TRUE(w.Text1_KeyPress(2));
    EXPECT_TRUE(w.text2_KeyPress());
    EXPECT_EQ(w.ui.panel(1), "OK");
    EXPECT_EQ(w.ui.Text1[0].foreColour, kColourRed);
}

TEST(InputGuards, TypingInAPathBoxClearsTheFeedback) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.panel(1) = "Invoer";
    w.ui.panel(2) = "ongeldig/onvolledig";
    w.ui.panel(3) = "2 min 5 sec";
    w.ui.lblFiles.text = "/some/file";
    w.ui.Text1[0].foreColour = kColourRed;
    w.ui.Text1[2].foreColour = kColourRed;
    EXPECT_FALSE(w.Text1_KeyPress(2));
    EXPECT_EQ(w.ui.panel(1), "Invoer");
    EXPECT_EQ(w.ui.panel(2), "");
    EXPECT_EQ(w.ui.panel(3), "");
    EXPECT_EQ(w.ui.lblFiles.text, "");
    EXPECT_EQ(w.ui.Text1[0].foreColour, kColourBlack);
    EXPECT_EQ(w.ui.Text1[2].foreColour, kColourBlack);
    EXPECT_FALSE(w.text2_KeyPress());
}

TEST(InputGuards, DustbinPictureIsIgnoredWhileBusy) {
    TestRig rig;
    rig.w().Busy = true;
    rig.w().imPrullenbak_DblClick();
    EXPECT_EQ(rig.host.dustbinDialogs, 0);
}

TEST(InputGuards, DustbinPictureOpensTheDialog) {
    TestRig rig;
    rig.w().ui.panel(1) = "Invoer";
    rig.w().ui.panel(2) = "iets";
    std::string panelWhileOpen;
    rig.host.onDustbinDialog = [&] { panelWhileOpen = rig.w().ui.panel(1); };
    rig.w().imPrullenbak_DblClick();
    EXPECT_EQ(rig.host.dustbinDialogs, 1);
    EXPECT_EQ(panelWhileOpen, "Status");
    EXPECT_EQ(rig.w().ui.panel(2), "");
}

TEST(InputGuards, LeavingTheDateBoxRunsTheCheck) {
    TestRig rig;
    rig.w().ui.text2.text = "geen datum";
    rig.w().text2_LostFocus();
    EXPECT_EQ(rig.w().ui.panel(1), "Invoer:");
    rig.w().ui.panel(1).clear();
    rig.w().lblFiles_Click();
    EXPECT_EQ(rig.w().ui.panel(1), "Invoer:");
}

TEST(Command1, ShowsTheBackupFolderAttributes) {
    TestRig rig;
    makeDirs(rig.root / "backup");
    rig.w().ui.Text1[2].text = rig.root / "backup";
    rig.w().Command1_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "16");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::Ok);
}

TEST(Command1, AMissingFolderGivesItsErrorInsteadOfANumber) {
    TestRig rig;
    rig.w().ui.Text1[2].text = rig.root / "missing";
    rig.w().Command1_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text.rfind("Fout ", 0), 0u) << rig.dialogs.shown[0].text;
}

TEST(FolderPicker, StandsInForThePathBox) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.Text1[2].text = "/data/oud";
    w.Text1_DblClick(2);
    EXPECT_FALSE(w.ui.Text1[2].visible);
    EXPECT_TRUE(w.ui.Text1[0].visible);
    EXPECT_TRUE(w.ui.FolderTreeview1.visible);
    EXPECT_EQ(w.ui.pickerFolder, "/data/oud");
    EXPECT_EQ(w.ui.focus, "FolderTreeview1");
    EXPECT_EQ(w.EditIndex, 2);
    w.FolderTreeview1_SelectionChanged("/data");
    w.FolderTreeview1_SelectionChanged("/data/nieuw");
    EXPECT_EQ(w.SelectedFolder, "/data/nieuw");
    w.FolderTreeview1_ChoiceEnded();
    EXPECT_FALSE(w.ui.FolderTreeview1.visible);
    EXPECT_TRUE(w.ui.Text1[2].visible);
    EXPECT_EQ(w.ui.Text1[2].text, "/data/nieuw");
    EXPECT_EQ(w.ui.Text1[0].text, "");
    EXPECT_EQ(w.ui.panel(1), "Status");
}

TEST(FolderPicker, EscapeGivesTheBoxBackUnchanged) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.Text1[0].text = "/data/bron";
    w.Text1_DblClick(0);
    w.FolderTreeview1_SelectionChanged("/elders");
    w.FolderTreeview1_ChoiceCancelled();
    EXPECT_FALSE(w.ui.FolderTreeview1.visible);
    EXPECT_TRUE(w.ui.Text1[0].visible);
    EXPECT_EQ(w.ui.Text1[0].text, "/data/bron");
}

TEST(FolderPicker, AVirtualPlaceNameIsTakenAsChosen) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.Text1_DblClick(0);
    w.FolderTreeview1_SelectionChanged("Bureaublad");
    w.FolderTreeview1_ChoiceEnded();
    EXPECT_EQ(w.ui.Text1[0].text, "Bureaublad");
}

TEST(FolderPicker, DoesNotOpenOnAConfirmedJob) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.Busy = true;
    w.ui.Text1[0].text = "/data/bron";
    w.Text1_DblClick(0);
    EXPECT_FALSE(w.ui.FolderTreeview1.visible);
    EXPECT_TRUE(w.ui.Text1[0].visible);
}

}  // namespace
}  // namespace zv::test
