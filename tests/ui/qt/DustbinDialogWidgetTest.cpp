#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include "app/frmVergelijker.h"
#include "ui/frmDustbin.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

class DustbinDialogWidgets : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApplication();
        model.Form_Load();
        dialog = std::make_unique<qt::DustbinDialog>(model);
        dialog->show();
        (void)QTest::qWaitForWindowExposed(dialog.get());
    }

    TestRig rig;
    frmDustbin model{rig.w()};
    std::unique_ptr<qt::DustbinDialog> dialog;
};

TEST_F(DustbinDialogWidgets, ShowsItsTitleAndControls) {
    EXPECT_EQ(dialog->windowTitle(), "   Prullenbak");
    EXPECT_EQ(dialog->pathBox()->text(), "<RECYCLER>");
    EXPECT_FALSE(dialog->pathBox()->isEnabled());
    EXPECT_FALSE(dialog->option(1)->isChecked());
    EXPECT_FALSE(dialog->option(2)->isChecked());
    EXPECT_EQ(dialog->optionLabel(1)->text().remove('&'), "Windows RECYCLER");
    EXPECT_EQ(dialog->optionLabel(2)->text().remove('&'), "Gebruik volgende map :");
    EXPECT_EQ(dialog->exitButton()->text().remove('&'), "Exit");
}

TEST_F(DustbinDialogWidgets, ChoosingAnExistingFolderClosesTheDialog) {
    makeDirs(rig.root / "bak");
    QTest::mouseClick(dialog->optionLabel(2), Qt::LeftButton);
    EXPECT_TRUE(dialog->option(2)->isChecked());
    EXPECT_TRUE(dialog->pathBox()->isEnabled());
    dialog->pathBox()->selectAll();
    QTest::keyClicks(dialog->pathBox(), QString::fromStdString(rig.root / "bak"));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(model.closed);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rig.w().DustBinPath, rig.root / "bak");
    EXPECT_TRUE(rig.w().DustBinCustom);
}

TEST_F(DustbinDialogWidgets, TheRecycleBinOption) {
    QTest::mouseClick(dialog->option(1), Qt::LeftButton);
    EXPECT_EQ(dialog->pathBox()->text(), "");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(model.closed);
    EXPECT_TRUE(rig.w().DustBinWin);
}

TEST_F(DustbinDialogWidgets, OKWithoutChoiceAnswersWithABox) {
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Pad bestaat niet.");
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(DustbinDialogWidgets, TheEmptyFolderPictureTogglesItsCross) {
    EXPECT_FALSE(dialog->emptyFolderPicture()->crossShown());
    QTest::mouseClick(dialog->emptyFolderPicture(), Qt::LeftButton);
    EXPECT_TRUE(dialog->emptyFolderPicture()->crossShown());
    EXPECT_TRUE(rig.w().KillEmpty);
    EXPECT_EQ(dialog->emptyFolderPicture()->toolTip(), "lege mappen wissen (in de backup)");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(model.closed);
    EXPECT_TRUE(rig.w().KillEmpty);
}

TEST_F(DustbinDialogWidgets, ThePickerOpensOnADoubleClickAndEndsOnEnter) {
    makeDirs(rig.root / "bak/sub");
    QTest::mouseClick(dialog->option(2), Qt::LeftButton);
    dialog->pathBox()->setText(QString::fromStdString(rig.root / "bak"));
    model.Text1.text = rig.root / "bak";
    QTest::mouseDClick(dialog->pathBox(), Qt::LeftButton);
    ASSERT_TRUE(dialog->picker()->isVisible());
    EXPECT_FALSE(dialog->okButton()->isVisible());
    EXPECT_FALSE(dialog->option(1)->isVisible());
    QTRY_COMPARE(dialog->picker()->currentFolder().toStdString(), rig.root / "bak");
    QTest::keyClick(dialog->picker()->tree(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->picker()->isVisible());
    EXPECT_TRUE(dialog->isVisible()) << "Escape closes the picker, not the dialog";
    QTest::mouseDClick(dialog->pathBox(), Qt::LeftButton);
    dialog->picker()->showFolder(QString::fromStdString(rig.root / "bak/sub"));
    QTRY_COMPARE(dialog->picker()->currentFolder().toStdString(), rig.root / "bak/sub");
    QTest::keyClick(dialog->picker()->tree(), Qt::Key_Return);
    EXPECT_FALSE(dialog->picker()->isVisible());
    EXPECT_TRUE(dialog->okButton()->isVisible());
    EXPECT_EQ(dialog->pathBox()->text().toStdString(), rig.root / "bak/sub");
}

}  // namespace
}  // namespace zv::test
