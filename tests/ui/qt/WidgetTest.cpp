#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
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
#include "ui/qt/QtEventPump.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

// The dialog for a recycle-bin job, on the screen.
class DustbinDialogWidgets : public ::testing::Test {
  protected:
    void SetUp() override {
        model.load();
        dialog.mirror();
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    QApplication& app = TestApplication();
    TestRig rig;
    DustbinWindow model{rig.w()};
    qt::DustbinDialog dialog{model};
};

// Its texts; the locked box opens no picker; OK without a choice is refused.
TEST_F(DustbinDialogWidgets, ShowsItsControlsAndAnswersOKWithoutAChoice) {
    QStringList texts = {dialog.windowTitle(), dialog.pathBox()->text()};
    for (QLabel* label : {dialog.optionLabel(1), dialog.optionLabel(2)}) texts << label->text();
    for (QPushButton* button : {dialog.okButton(), dialog.exitButton()}) texts << button->text();
    EXPECT_EQ(texts.join('|').remove('&'),
              "   Prullenbak|<RECYCLER>|Windows RECYCLER|Gebruik volgende map :|OK|Exit");
    QTest::mouseDClick(dialog.pathBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog.pathBox()->isEnabled() || dialog.picker()->isVisible() ||
                 dialog.option(1)->isChecked() || dialog.option(2)->isChecked());
    click(dialog.okButton());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Pad bestaat niet.");
    EXPECT_TRUE(dialog.isVisible());
    click(dialog.option(1));
    EXPECT_EQ(dialog.pathBox()->text(), "");
    click(dialog.okButton());
    EXPECT_EQ(std::make_tuple(model.closed, dialog.isVisible(), rig.w().job.dustbinToTrash),
              std::make_tuple(true, false, true));
}

// The picker opens at the box's folder on a double-click, wholly inside the
// dialog, clear of its Exit button, with room for a dozen rows; Escape closes
// only the picker, Enter ends the choice.
TEST_F(DustbinDialogWidgets, ThePicker) {
    makeDirs(rig.root / "bak/sub");
    click(dialog.option(2));
    QTest::keyClicks(dialog.pathBox(), QString::fromStdString(rig.root / "bak"));
    const QSize closedSize = dialog.size();
    QTest::mouseDClick(dialog.pathBox(), Qt::LeftButton);
    ASSERT_TRUE(dialog.picker()->isVisible());
    EXPECT_FALSE(dialog.okButton()->isVisible() || dialog.option(1)->isVisible());
    QTest::qWait(20);
    const auto within = [&](QWidget* widget) {
        return QRect(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
    };
    EXPECT_TRUE(dialog.rect().contains(within(dialog.picker())));
    EXPECT_FALSE(within(dialog.picker()).intersects(within(dialog.exitButton())));
    EXPECT_GE(dialog.picker()->tree()->height(), dialog.fontMetrics().height() * 12);
    QTRY_COMPARE(dialog.picker()->currentFolder().toStdString(), rig.root / "bak");
    click(dialog.emptyFolderPicture());  // a mirror while the picker is open
    QTest::keyClick(dialog.picker()->tree(), Qt::Key_Escape);
    EXPECT_EQ(std::make_tuple(dialog.picker()->isVisible(), dialog.isVisible(), dialog.size()),
              std::make_tuple(false, true, closedSize));
    QTest::mouseDClick(dialog.pathBox(), Qt::LeftButton);
    dialog.picker()->showFolder(QString::fromStdString(rig.root / "bak/sub"));
    QTRY_COMPARE(dialog.picker()->currentFolder().toStdString(), rig.root / "bak/sub");
    QTest::keyClick(dialog.picker()->tree(), Qt::Key_Return);
    EXPECT_TRUE(dialog.okButton()->isVisible());
    EXPECT_EQ(dialog.pathBox()->text().toStdString(), rig.root / "bak/sub");
}

// The cross over the empty-folder picture acts at once, also when the dialog
// is left with Escape.
TEST_F(DustbinDialogWidgets, TheEmptyFolderPictureTogglesItsCross) {
    qt::Picture* picture = dialog.emptyFolderPicture();
    for (const bool cross : {false, true}) {
        EXPECT_EQ(std::make_tuple(picture->crossShown(), rig.w().job.removeEmptyFolders,
                                  picture->toolTip()),
                  std::make_tuple(cross, cross,
                                  cross ? QString("lege mappen wissen (in de backup)")
                                        : QString("lege mappen behouden (in de backup)")));
        if (!cross) click(picture);
    }
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(model.closed && rig.w().job.removeEmptyFolders);
    DustbinWindow again(rig.w());
    again.load();
    again.emptyFoldersClicked();
    EXPECT_FALSE(rig.w().job.removeEmptyFolders);
}

// A help file beside the program comes first; without one the built-in page
// explains the window, the picker's gestures included.
TEST(HelpPage, TheFileBesideTheProgramOrTheBuiltInPage) {
    TestApplication();
    TempDir folder;
    const QString path = QString::fromStdString(folder.path());
    for (const char* word : {"Escape", "dubbelklikken", "Prullenbak"})
        EXPECT_TRUE(qt::loadHelpPage(path).contains(word)) << word;
    writeFile(folder / "ZandvastHelp.html", "<p>Eigen hulp</p>");
    EXPECT_EQ(qt::helpPageSource(path).toStdString(), folder / "ZandvastHelp.html");
    EXPECT_EQ(qt::loadHelpPage(path), "<p>Eigen hulp</p>");
}

// The real boxes: the application's title and room for it, CR LF shown as
// new lines, the buttons of each style, and Escape giving the safe answer.
TEST(QtDialogs, BoxesAnswerAsTheUserDid) {
    TestApplication();
    using B = QMessageBox;
    using S = MessageStyle;
    using A = MessageAnswer;
    // The text, its style, the button clicked (none: Escape), the answer.
    const std::tuple<const char*, S, B::StandardButton, A, B::Icon, B::StandardButtons> cases[] = {
        {"HUIDIG backupvolume:  A\r\nWas:  B\r\n\r\nDOORGAAN ?", S::YesNo, B::Yes, A::Yes,
         B::NoIcon, B::Yes | B::No},
        {"Doelmap bestaat niet. Maken?", S::YesNo, B::NoButton, A::No, B::NoIcon, B::Yes | B::No},
        {"Schijf vol", S::OkCancel, B::NoButton, A::Cancel, B::NoIcon, B::Ok | B::Cancel},
        {"Schijf vol", S::OkCancel, B::Ok, A::Ok, B::NoIcon, B::Ok | B::Cancel},
        {"Pad bestaat niet.", S::Ok, B::NoButton, A::Ok, B::NoIcon, B::Ok},
        {"Let op", S::OkExclamation, B::Ok, A::Ok, B::Warning, B::Ok}};
    for (const auto& [text, style, button, answer, icon, buttons] : cases) {
        SCOPED_TRACE(text);
        QString shown;
        WhenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<B*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            EXPECT_EQ(std::make_tuple(box->windowTitle(), box->icon(), box->standardButtons(),
                                      box->defaultButton()),
                      std::make_tuple(QString("Zandvast & Backup Tool"), icon, buttons,
                                      box->button(buttons & B::Yes ? B::Yes : B::Ok)));
            const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
            EXPECT_GE(box->width(),
                      title.horizontalAdvance(box->windowTitle()) + 6 * title.height());
            button == B::NoButton ? QTest::keyClick(box, Qt::Key_Escape)
                                  : box->button(button)->click();
        });
        EXPECT_EQ(qt::QtDialogs().messageBox(text, style), answer);
        EXPECT_EQ(shown, QString(text).replace("\r\n", "\n"));
    }
}

// Qt appends an application display name to every window title, so none is
// set; the standard buttons speak Dutch where Qt's translations are installed.
TEST(ApplicationTexts, NoTitleSuffixAndDutchStandardButtons) {
    TestApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(QCoreApplication::applicationName(), "Zandvast");
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_nl.qm"))
        GTEST_SKIP() << "Qt's Dutch translations (qt6-translations-l10n) are not installed";
    QMessageBox box;
    qt::setUpMessageBox(box, "x", MessageStyle::YesNo);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&') + "|" +
                  box.button(QMessageBox::No)->text().remove('&'),
              "Ja|Nee");
}

// Yields are cheap: the pump runs at most once per interval and mirrors the
// window at most once per mirror interval, both at once when it has passed;
// a repaint mirrors and paints at once.
TEST(QtEventPump, PumpsAndMirrorsAtMostOncePerInterval) {
    TestApplication();
    qt::QtEventPump pump;
    long mirrors = 0, paints = 0;
    pump.mirror = [&] { ++mirrors; };
    pump.repaint = [&] { ++paints; };
    for (int i = 0; i < 100000; ++i) pump.yield();
    EXPECT_TRUE(pump.pumps() >= 1 && pump.pumps() < 1000) << pump.pumps();
    EXPECT_TRUE(mirrors >= 1 && mirrors == pump.mirrors() && mirrors <= pump.pumps()) << mirrors;
    QTest::qWait(qt::QtEventPump::kMirrorIntervalMs + 5);
    const long pumps = pump.pumps(), mirrored = pump.mirrors();
    pump.yield();
    pump.repaintNow();
    EXPECT_EQ(std::make_tuple(pump.pumps(), pump.mirrors(), mirrors, paints),
              std::make_tuple(pumps + 1, mirrored + 1, mirrored + 2, 1L));
}

}  // namespace
}  // namespace zv::test
