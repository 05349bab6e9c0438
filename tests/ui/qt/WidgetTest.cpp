#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include "ui/DustbinWindow.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

// A recycle-bin job's dialog: the locked box, OK without a choice, the picker, the cross.
TEST(DustbinDialogWidgets, TheLockedBoxThePickerAndTheEmptyFolderCross) {
    TestApplication();
    TestRig rig;
    DustbinWindow model{rig.w()};
    qt::DustbinDialog dialog{model};
    model.load();
    dialog.mirror();
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);
    QTest::mouseDClick(dialog.pathBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog.pathBox()->isEnabled() || dialog.picker()->isVisible() ||
                 dialog.option(1)->isChecked() || dialog.option(2)->isChecked());
    Click(dialog.okButton());
    EXPECT_EQ(rig.dialogs.shown.at(0).text, "Pad bestaat niet.");
    makeDirs(rig.root / "bak/sub");
    Click(dialog.option(2));
    QTest::keyClicks(dialog.pathBox(), QString::fromStdString(rig.root / "bak"));
    QTest::mouseDClick(dialog.pathBox(), Qt::LeftButton);
    ASSERT_TRUE(dialog.picker()->isVisible());
    QTRY_COMPARE(dialog.picker()->currentFolder().toStdString(), rig.root / "bak");
    Click(dialog.emptyFolderPicture());  // a mirror while the picker is open
    QTest::keyClick(dialog.picker()->tree(), Qt::Key_Escape);
    EXPECT_EQ(std::make_pair(dialog.picker()->isVisible(), dialog.isVisible()),
              std::make_pair(false, true));
    QTest::mouseDClick(dialog.pathBox(), Qt::LeftButton);
    dialog.picker()->showFolder(QString::fromStdString(rig.root / "bak/sub"));
    QTRY_COMPARE(dialog.picker()->currentFolder().toStdString(), rig.root / "bak/sub");
    QTest::keyClick(dialog.picker()->tree(), Qt::Key_Return);
    EXPECT_EQ(dialog.pathBox()->text().toStdString(), rig.root / "bak/sub");
    // The empty-folder cross acts at once, both ways, also when Escape leaves the dialog.
    for (const bool cross : {false, true}) {
        Click(dialog.emptyFolderPicture());
        EXPECT_EQ(std::make_pair(dialog.emptyFolderPicture()->crossShown(),
                                 rig.w().job.removeEmptyFolders),
                  std::make_pair(cross, cross));
    }
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(model.closed && rig.w().job.removeEmptyFolders);
}

// The real boxes: the bare title, CR LF as new lines, each style's buttons, Escape the safe answer.
TEST(QtDialogs, BoxesAnswerAsTheUserDid) {
    TestApplication();
    using B = QMessageBox;
    using S = MessageStyle;
    using A = MessageAnswer;
    const std::tuple<const char*, S, B::StandardButton, A, B::StandardButtons> cases[] = {
        {"HUIDIG backupvolume:  A\r\nWas:  B\r\n\r\nDOORGAAN ?", S::YesNo, B::Yes, A::Yes,
         B::Yes | B::No},
        {"Doelmap bestaat niet. Maken?", S::YesNo, B::NoButton, A::No, B::Yes | B::No},
        {"Schijf vol", S::OkCancel, B::NoButton, A::Cancel, B::Ok | B::Cancel},
        {"Pad bestaat niet.", S::Ok, B::NoButton, A::Ok, B::Ok}};
    for (const auto& [text, style, button, answer, buttons] : cases) {
        SCOPED_TRACE(text);
        QString shown;
        WhenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<B*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            EXPECT_EQ(
                std::make_tuple(box->windowTitle(), box->standardButtons(), box->defaultButton()),
                std::make_tuple(QString("Zandvast & Backup Tool"), buttons,
                                box->button(buttons & B::Yes ? B::Yes : B::Ok)));
            button == B::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                                  : box->button(button)->click();
        });
        EXPECT_EQ(qt::QtDialogs().messageBox(text, style), answer);
        EXPECT_EQ(shown, QString(text).replace("\r\n", "\n"));
    }
}

}  // namespace
}  // namespace zv::test
