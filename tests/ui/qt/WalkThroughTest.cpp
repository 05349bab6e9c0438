#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

#include "ui/qt/ArrowBox.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

TEST(WalkThrough, FromAFirstStartToARunAndTheClose) {
    TestApplication();
    TestRig rig;
    const std::string source = rig.root / "Documenten", backup = rig.root / "Backup";
    const std::string dustbin = rig.root / "Prullenbak";
    writeFile(source + "/lijst.txt", "boodschappen");
    writeFile(source + "/Brieven/aan oma.txt", "Lieve oma,");
    makeDirs(dustbin);
    // One start of the program on the rig's folders, with the real boxes.
    SystemClock clock;
    qt::QtEventPump pump;
    qt::QtDialogs dialogs{&pump};
    qt::QtWindowHost host;
    AppWindow w(Services{rig.fs, dialogs, clock, pump, rig.trash, host, rig.w().svc.env});
    qt::MainWindow window{w};
    host.attach(w, &window);
    pump.mirror = [&] { window.mirror(); };
    pump.repaint = [&] { window.repaint(); };
    window.runHandler([&] { w.load(); });
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    // The picker: a double-click chooses, Escape restores the box; the "/" place.
    qt::FolderPicker* picker = window.picker();
    QTreeView* tree = picker->tree();
    QTest::mouseDClick(window.pathBox(0), Qt::LeftButton);
    picker->showFolder(QString::fromStdString(source));
    QTRY_COMPARE(picker->currentFolder().toStdString(), source);
    QRect place;
    QTRY_VERIFY(!(place = tree->visualRect(tree->currentIndex())).isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(window.pathBox(0), Qt::LeftButton);
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Escape);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(window.pathBox(0)->text().toStdString(), source);
    QTest::mouseDClick(window.pathBox(2), Qt::LeftButton);
    Click(picker->computerButton());
    QTRY_COMPARE(picker->currentFolder(), QString("/"));
    QTest::keyClick(tree, Qt::Key_Enter);
    EXPECT_EQ(w.ui.backupBox.text, "/");
    window.pathBox(2)->setFocus();
    window.pathBox(2)->selectAll();
    QTest::keyClicks(window.pathBox(2), QString::fromStdString(backup));
    EXPECT_EQ(w.ui.backupBox.text, backup);

    // The frames step the mode by mouse or space bar; the check box switches the date filter.
    window.frame1()->setFocus();
    QTest::keyClick(window.frame1(), Qt::Key_Space);
    EXPECT_TRUE(window.picture("syncPicture")->isVisible());
    Click(window.frame2());
    EXPECT_TRUE(window.picture("syncDustbinPicture")->isVisible());
    for (const bool noFilter : {true, false}) {
        Click(window.dateCheck());
        EXPECT_EQ(w.job.noDateFilter, noFilter);
    }
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<qt::DustbinDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        Click(dialog->optionLabel(2));
        QTest::keyClicks(dialog->pathBox(), QString::fromStdString(dustbin));
        Click(dialog->okButton());
    });
    QTest::mouseDClick(window.picture("dustbinPicture"), Qt::LeftButton);
    EXPECT_EQ(w.job.dustbinPath, dustbin);

    // A refused date turns red with the focus; OK asks once, the box taking the release.
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
    QTest::keyClicks(window.dateBox(), "x");
    Click(window.okButton());
    EXPECT_EQ(std::make_tuple(window.statusPanel(2)->text(),
                              window.dateBox()->palette().color(QPalette::Text),
                              QApplication::focusWidget(), window.goButton()->isEnabled()),
              std::make_tuple(QString("dd-mm-jj uu:mm:ss"), QColor(Qt::red),
                              static_cast<QWidget*>(window.dateBox()), false));
    QTest::keyClick(window.dateBox(), Qt::Key_Backspace);
    QStringList questions;
    bool held = true, releaseTaken = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        questions << box->text();
        releaseTaken = releaseTaken || held;
        box->button(QMessageBox::Yes)->click();
    });
    answerer.start(10);
    QTest::mousePress(window.okButton(), Qt::LeftButton);
    held = false;
    if (!releaseTaken) QTest::mouseRelease(window.okButton(), Qt::LeftButton);
    QTRY_VERIFY(window.goButton()->isEnabled());
    EXPECT_EQ(questions, QStringList{"Doelmap bestaat niet. Maken?"});
    // A confirmed job takes no typing.
    EXPECT_FALSE(window.frame1()->isEnabled() || window.frame2()->isEnabled() ||
                 window.dateCheck()->isEnabled());
    QTest::keyClicks(window.pathBox(0), "xyz");
    EXPECT_EQ(window.pathBox(0)->text().toStdString(), source);

    Click(window.goButton());
    EXPECT_EQ(readFile(backup + "/lijst.txt") + readFile(backup + "/Brieven/aan oma.txt"),
              "boodschappenLieve oma,");
    EXPECT_FALSE(window.goButton()->isEnabled() || w.userBreak);
    // A quiet run hides the window.
    w.ui.visible = false;
    window.mirror();
    EXPECT_FALSE(window.isVisible());
    w.ui.visible = true;
    window.mirror();

    // Closing is a break; asked for inside a handler (a run), it waits for its return.
    bool finished = false;
    QObject::connect(&window, &qt::MainWindow::finished, [&] { finished = true; });
    window.runHandler([&] {
        window.close();
        EXPECT_EQ(std::make_pair(w.userBreak, finished), std::make_pair(true, false));
    });
    EXPECT_EQ(std::make_tuple(window.isVisible(), finished, w.ui.closed),
              std::make_tuple(false, true, true));
    rig.w().load();  // the next start reads back the job this one stored
    EXPECT_EQ(std::tie(rig.w().job.source, rig.w().job.backup, rig.w().job.dustbinPath),
              std::tie(source, backup, dustbin));
}

}  // namespace
}  // namespace zv::test
