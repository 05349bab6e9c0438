#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "app/frmVergelijker.h"
#include "ui/ModeDisplay.h"
#include "ui/qt/ArrowBox.h"
#include "ui/qt/Colours.h"
#include "ui/qt/ElidedLabel.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

QString Plain(QString text) {
    return text.remove('&');
}

class MainWindowWidgets : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDirs(r.rig.root / "bron/sub");
        makeDirs(r.rig.root / "backup");
        w().ui.Text1[0].text = r.rig.root / "bron";
        w().ui.Text1[2].text = r.rig.root / "backup";
        w().ui.text2.text = "19-12-1960 12:58:58";
        w().ui.Check1.value = 1;
        w().Check1_Click();
        w().DoVerify = w().SyncActive = true;
        ShowMode(w(), JobMode::Synchronise);
        w().Form_Resize();
        r.show();
    }
    frmVergelijker& w() { return r.w(); }
    qt::MainWindow& win() { return *r.window; }

    WidgetRig r;
};

TEST_F(MainWindowWidgets, OpensWithItsTitleAndControls) {
    EXPECT_TRUE(win().windowTitle().startsWith("Zandvast & Backup Tool v."));
    EXPECT_EQ(win().pathBox(0)->text().toStdString(), r.rig.root / "bron");
    EXPECT_EQ(Plain(win().okButton()->text()), "OK");
    EXPECT_EQ(Plain(win().exitButton()->text()), "Exit");
    EXPECT_EQ(Plain(win().goButton()->text()), ">------------>>>>");
    EXPECT_FALSE(win().goButton()->isEnabled());
    EXPECT_EQ(win().frame2()->title(), "synchroniseren");
    EXPECT_EQ(win().fileLabel()->toolTip(), "F1 = help");
    EXPECT_TRUE(win().picture("imSync")->isVisible());
    EXPECT_FALSE(win().picture("imNoVfy")->isVisible());
    EXPECT_TRUE(win().picture("imSync")->hasPicture());
    EXPECT_FALSE(win().progressBar()->isVisible());
}

TEST_F(MainWindowWidgets, ClicksOnTheFramesStepTheMode) {
    QTest::mouseClick(win().frame2(), Qt::LeftButton);
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_TRUE(win().picture("imSyncPlus")->isVisible());
    EXPECT_TRUE(win().picture("imPrullenbak")->isVisible());
    EXPECT_EQ(win().frame2()->toolTip(), " synchroniseren + prullenbak (ingeschakeld) ");
    QTest::mouseClick(win().frame1(), Qt::LeftButton);
    EXPECT_FALSE(w().DoVerify);
    EXPECT_TRUE(win().picture("imNoVfy")->isVisible());
    EXPECT_FALSE(win().picture("imPrullenbak")->isVisible());
    const QColor red = win().frame1()->lineColours()[0];
    EXPECT_EQ(red, QColor(255, 0, 0));
    win().frame1()->setFocus();
    QTest::keyClick(win().frame1(), Qt::Key_Space);
    EXPECT_TRUE(w().DoVerify);
    EXPECT_TRUE(win().picture("imSync")->isVisible());
}

TEST_F(MainWindowWidgets, TheArrowsDrawInTheirColours) {
    EXPECT_EQ(win().frame2()->lineColours()[1],
              qt::ToQColor(kSys3DDarkShadow, win().frame2()->palette()));
    QTest::mouseClick(win().frame2(), Qt::LeftButton);  // with dustbin
    QTest::mouseClick(win().frame2(), Qt::LeftButton);  // check only
    EXPECT_EQ(win().frame2()->lineColours()[0], win().frame2()->palette().color(QPalette::Light));
}

TEST_F(MainWindowWidgets, TheDateCheckBoxGreysTheDate) {
    QTest::mouseClick(win().dateCheck(), Qt::LeftButton);
    EXPECT_EQ(w().ui.Check1.value, 0);
    EXPECT_TRUE(w().NoDateCheck);
    EXPECT_EQ(win().dateBox()->palette().color(QPalette::Text), QColor(0x9e, 0x9e, 0x9e));
    QTest::mouseClick(win().dateCheck(), Qt::LeftButton);
    EXPECT_FALSE(w().NoDateCheck);
}

TEST_F(MainWindowWidgets, OKConfirmsAndLocksTheJob) {
    QTest::mouseClick(win().okButton(), Qt::LeftButton);
    EXPECT_TRUE(w().Busy);
    EXPECT_TRUE(win().goButton()->isEnabled());
    EXPECT_EQ(Plain(win().goButton()->text()), ">-->>  GO  <<--<");
    EXPECT_EQ(win().statusPanel(1)->text(), "OK");
    EXPECT_FALSE(win().frame1()->isEnabled());
    EXPECT_FALSE(win().dateCheck()->isEnabled());
    QTest::keyClicks(win().pathBox(0), "xyz");
    EXPECT_EQ(win().pathBox(0)->text().toStdString(), r.rig.root / "bron");
    EXPECT_EQ(w().ui.Text1[0].text, r.rig.root / "bron");
}

TEST_F(MainWindowWidgets, TypingMarksInputAndReachesTheModel) {
    w().ui.Text1[0].foreColour = kColourRed;
    win().mirror();
    win().pathBox(0)->setFocus();
    QTest::keyClick(win().pathBox(0), Qt::Key_End);
    QTest::keyClicks(win().pathBox(0), "/sub");
    EXPECT_EQ(w().ui.Text1[0].text, r.rig.root / "bron/sub");
    EXPECT_EQ(win().statusPanel(1)->text(), "Invoer");
    EXPECT_EQ(win().pathBox(0)->palette().color(QPalette::Text), QColor(Qt::black));
}

TEST_F(MainWindowWidgets, ARefusedDateTurnsRedAndTakesTheFocus) {
    win().dateBox()->setText("geen datum");
    w().ui.text2.text = "geen datum";
    QTest::mouseClick(win().okButton(), Qt::LeftButton);
    EXPECT_EQ(win().statusPanel(1)->text(), "Invoer:");
    EXPECT_EQ(win().statusPanel(2)->text(), "dd-mm-jj uu:mm:ss");
    EXPECT_EQ(win().dateBox()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(QApplication::focusWidget(), win().dateBox());
}

TEST_F(MainWindowWidgets, MessageBoxesGoThroughTheDialogService) {
    w().ui.Text1[2].text = r.rig.root / "nieuwe-backup";
    r.rig.dialogs.script(MessageAnswer::Yes);
    QTest::mouseClick(win().okButton(), Qt::LeftButton);
    ASSERT_EQ(r.rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(r.rig.dialogs.shown[0].text, "Doelmap bestaat niet. Maken?");
    EXPECT_TRUE(w().Busy);
    QTest::mouseClick(win().attributesButton(), Qt::LeftButton);  // locked: no event
    EXPECT_EQ(r.rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(r.rig.dialogs.shown[1].text, "16");
}

TEST_F(MainWindowWidgets, DoubleClickOpensThePickerAndEnterEndsTheChoice) {
    QTest::mouseDClick(win().pathBox(2), Qt::LeftButton);
    ASSERT_TRUE(w().ui.FolderTreeview1.visible);
    EXPECT_TRUE(win().picker()->isVisible());
    EXPECT_FALSE(win().pathBox(2)->isVisible());
    QTreeView* tree = win().picker()->tree();
    EXPECT_EQ(QApplication::focusWidget(), tree);
    win().picker()->showFolder(QString::fromStdString(r.rig.root / "bron/sub"));
    QTRY_COMPARE(win().picker()->currentFolder().toStdString(), r.rig.root / "bron/sub");
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_FALSE(win().picker()->isVisible());
    EXPECT_TRUE(win().pathBox(2)->isVisible());
    EXPECT_EQ(w().ui.Text1[2].text, r.rig.root / "bron/sub");
    EXPECT_EQ(win().pathBox(2)->text().toStdString(), r.rig.root / "bron/sub");
    EXPECT_EQ(win().statusPanel(1)->text(), "Status");
}

TEST_F(MainWindowWidgets, EscapeInThePickerGivesTheBoxBack) {
    QTest::mouseDClick(win().pathBox(0), Qt::LeftButton);
    QTreeView* tree = win().picker()->tree();
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Escape);
    EXPECT_FALSE(win().picker()->isVisible());
    EXPECT_EQ(w().ui.Text1[0].text, r.rig.root / "bron");
}

TEST_F(MainWindowWidgets, ThePickerOffersTheDesktopAndTheComputer) {
    makeDirs(r.rig.root / "Bureaublad");
    w().svc.env.desktopPath = r.rig.root / "Bureaublad";
    w().DesktopName = w().GetDesktopName();
    w().ComputerName = "werkplek";
    QTest::mouseDClick(win().pathBox(0), Qt::LeftButton);
    qt::FolderPicker* picker = win().picker();
    EXPECT_EQ(picker->desktopButton()->text(), "Bureaublad");
    EXPECT_EQ(picker->computerButton()->text(), "werkplek");
    QTest::mouseClick(picker->desktopButton(), Qt::LeftButton);
    QTRY_COMPARE(picker->currentFolder().toStdString(), r.rig.root / "Bureaublad");
    QTest::keyClick(picker->tree(), Qt::Key_Enter);
    EXPECT_EQ(w().ui.Text1[0].text, r.rig.root / "Bureaublad");
    EXPECT_EQ(w().SelectedFolder, r.rig.root / "Bureaublad");
    QTest::mouseDClick(win().pathBox(0), Qt::LeftButton);
    QTest::mouseClick(picker->computerButton(), Qt::LeftButton);
    QTRY_COMPARE(picker->currentFolder(), QString("/"));
    EXPECT_EQ(picker->tree()->currentIndex().data().toString(), "werkplek");
    QTest::keyClick(picker->tree(), Qt::Key_Escape);
}

TEST_F(MainWindowWidgets, ExitClosesTheWindowAndSetsTheBreak) {
    bool finished = false;
    QObject::connect(r.window.get(), &qt::MainWindow::finished, [&] { finished = true; });
    QTest::mouseClick(win().exitButton(), Qt::LeftButton);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(win().isVisible());
}

TEST_F(MainWindowWidgets, ClosingTheWindowSetsTheBreak) {
    win().close();
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().ui.closed);
}

TEST_F(MainWindowWidgets, ClosingDuringAHandlerWaitsUntilItReturns) {
    bool visibleAfterClose = true;
    bool finishedInside = false;
    QObject::connect(r.window.get(), &qt::MainWindow::finished, [&] { finishedInside = true; });
    win().runHandler([&] {
        win().close();
        visibleAfterClose = win().isVisible();
        EXPECT_TRUE(w().UserBreak);
        EXPECT_FALSE(finishedInside);
    });
    EXPECT_FALSE(visibleAfterClose);
    EXPECT_TRUE(finishedInside);
}

TEST_F(MainWindowWidgets, TheDustbinPictureOpensTheModalDialog) {
    QTest::mouseClick(win().frame2(), Qt::LeftButton);  // synchronise with dustbin
    bool sawDialog = false;
    WhenModalOpens([&](QWidget* modal) {
        sawDialog = modal->windowTitle() == "   Prullenbak";
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QTest::mouseDClick(win().picture("imPrullenbak"), Qt::LeftButton);
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(r.rig.host.dustbinDialogs, 1);
    EXPECT_EQ(win().statusPanel(1)->text(), "Status");
}

TEST_F(MainWindowWidgets, ProgressDisplayIsMirrored) {
    w().ui.ProgressBar1.visible = true;
    w().ui.ProgressBar1.max = 200;
    w().ui.ProgressBar1.value = 50;
    w().ui.lblFiles.text = "/bron/bestand.txt";
    w().ui.panel(3) = "Van: 7";
    w().ui.caption = "25 %   Zandvast v.1.0.0";
    win().mirror();
    EXPECT_TRUE(win().progressBar()->isVisible());
    EXPECT_EQ(win().progressBar()->maximum(), 200);
    EXPECT_EQ(win().progressBar()->value(), 50);
    EXPECT_EQ(win().fileLabel()->fullText(), "/bron/bestand.txt");
    EXPECT_EQ(win().statusPanel(3)->text(), "Van: 7");
    EXPECT_EQ(win().windowTitle(), "25 %   Zandvast v.1.0.0");
}

TEST_F(MainWindowWidgets, F1OpensTheHelpPage) {
    QTest::keyClick(win().pathBox(0), Qt::Key_F1);
    ASSERT_NE(win().helpWindow(), nullptr);
    EXPECT_TRUE(win().helpWindow()->isVisible());
    EXPECT_TRUE(win().helpWindow()->toPlainText().contains("Prullenbak"));
}

TEST_F(MainWindowWidgets, EveryButtonHasAnAccessKey) {
    for (QPushButton* button : {win().okButton(), win().exitButton(), win().attributesButton()})
        EXPECT_TRUE(button->text().contains('&')) << button->text().toStdString();
    w().cmdOK_Click();
    win().mirror();
    EXPECT_TRUE(win().goButton()->text().contains("&GO"));
}

}  // namespace
}  // namespace zv::test
