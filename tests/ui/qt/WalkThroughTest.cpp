#include <gtest/gtest.h>

#include <QCheckBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

#include "ui/qt/ArrowBox.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/ElidedLabel.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

// One start of the program on the rig's folders, with the real boxes.
struct Session {
    explicit Session(TestRig& rig)
        : w(Services{rig.fs, dialogs, clock, pump, rig.trash, host, rig.w().svc.env}) {
        host.attach(w, &window);
        pump.mirror = [this] { window.mirror(); };
        pump.repaint = [this] { window.repaint(); };
        window.runHandler([this] { w.load(); });
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    SystemClock clock;
    qt::QtEventPump pump;
    qt::QtDialogs dialogs{&pump};
    qt::QtWindowHost host;
    AppWindow w;
    qt::MainWindow window{w};
};

TEST(WalkThrough, FromAFirstStartToARunAndBack) {
    TestApplication();
    TestRig rig;
    const std::string source = rig.root / "Documenten", backup = rig.root / "Backup";
    const std::string dustbin = rig.root / "Prullenbak";
    writeFile(source + "/lijst.txt", "boodschappen");
    writeFile(source + "/Brieven/aan oma.txt", "Lieve oma,");
    makeDirs(dustbin);
    makeDirs(rig.root / "Desktop");
    {
        Session first(rig);
        qt::MainWindow& window = first.window;
        EXPECT_TRUE(window.windowTitle().startsWith("Zandvast & Backup Tool v."));
        // The picker: a double-click chooses, Escape restores the box; desktop and "/" places.
        qt::FolderPicker* picker = window.picker();
        QTreeView* tree = picker->tree();
        QTest::mouseDClick(window.pathBox(0), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), tree);
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
        EXPECT_EQ(picker->desktopButton()->text() + "|" + picker->computerButton()->text(),
                  "Desktop|testhost");
        Click(picker->desktopButton());
        QTRY_COMPARE(picker->currentFolder().toStdString(), rig.root / "Desktop");
        Click(picker->computerButton());
        QTRY_COMPARE(picker->currentFolder(), QString("/"));
        QTest::keyClick(tree, Qt::Key_Enter);
        EXPECT_EQ(first.w.ui.backupBox.text, "/");
        window.pathBox(2)->setFocus();
        window.pathBox(2)->selectAll();
        QTest::keyClicks(window.pathBox(2), QString::fromStdString(backup));
        EXPECT_EQ(first.w.ui.backupBox.text, backup);

        // The frames step the mode by mouse or space bar; the check box greys the date.
        window.frame1()->setFocus();
        QTest::keyClick(window.frame1(), Qt::Key_Space);
        EXPECT_TRUE(window.picture("syncPicture")->isVisible());
        Click(window.frame2());
        EXPECT_TRUE(window.picture("syncDustbinPicture")->isVisible());
        const auto dateColour = [&] { return window.dateBox()->palette().color(QPalette::Text); };
        for (const bool noFilter : {true, false}) {
            Click(window.dateCheck());
            EXPECT_EQ(std::make_pair(first.w.job.noDateFilter, dateColour() == QColor(0x9e9e9e)),
                      std::make_pair(noFilter, noFilter));
        }
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<qt::DustbinDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            Click(dialog->optionLabel(2));
            QTest::keyClicks(dialog->pathBox(), QString::fromStdString(dustbin));
            Click(dialog->okButton());
        });
        QTest::mouseDClick(window.picture("dustbinPicture"), Qt::LeftButton);
        EXPECT_EQ(first.w.job.dustbinPath, dustbin);

        // A refused date turns red with the focus; OK asks once, the box taking the release.
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QTest::keyClicks(window.dateBox(), "x");
        Click(window.okButton());
        EXPECT_EQ(std::make_tuple(window.statusPanel(2)->text(), dateColour(),
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
        EXPECT_EQ(window.statusPanel(1)->text(), "OK");
        // A confirmed job takes no typing.
        EXPECT_TRUE(window.goButton()->text().contains("&GO"));
        EXPECT_FALSE(window.frame1()->isEnabled() || window.frame2()->isEnabled() ||
                     window.dateCheck()->isEnabled());
        QTest::keyClicks(window.pathBox(0), "xyz");
        EXPECT_EQ(window.pathBox(0)->text().toStdString(), source);

        Click(window.goButton());
        EXPECT_EQ(window.statusPanel(1)->text(), "Klaar");
        EXPECT_EQ(readFile(backup + "/lijst.txt") + readFile(backup + "/Brieven/aan oma.txt"),
                  "boodschappenLieve oma,");
        EXPECT_FALSE(window.goButton()->isEnabled() || first.w.userBreak);
        Click(window.exitButton());
        EXPECT_EQ(std::make_tuple(first.w.userBreak, first.w.ui.closed, window.isVisible()),
                  std::make_tuple(true, true, false));
    }
    Session second(rig);
    qt::MainWindow& window = second.window;

    // The run's display is mirrored.
    AppWindow& w = second.w;
    w.ui.progressBar = {true, 0, 200, 50};
    w.ui.currentFileLabel.text = "/bron/bestand.txt";
    w.ui.panel(3) = "99 min 59 sec";
    w.ui.caption = "25 %   Zandvast v.1.0.0";
    w.ui.visible = false;  // as a quiet run
    window.mirror();
    EXPECT_FALSE(window.isVisible());
    w.ui.visible = true;
    window.mirror();
    EXPECT_EQ(std::make_tuple(window.progressBar()->isVisible(), window.progressBar()->maximum(),
                              window.progressBar()->value(), window.fileLabel()->fullText(),
                              window.statusPanel(3)->text(), window.windowTitle()),
              std::make_tuple(true, 200, 50, QString("/bron/bestand.txt"), QString("99 min 59 sec"),
                              QString("25 %   Zandvast v.1.0.0")));

    // Closing is a break, one asked for inside a handler waits for its return.
    bool finished = false;
    QObject::connect(&window, &qt::MainWindow::finished, [&] { finished = true; });
    window.runHandler([&] {
        window.close();
        EXPECT_EQ(std::make_pair(w.userBreak, finished), std::make_pair(true, false));
    });
    EXPECT_EQ(std::make_tuple(window.isVisible(), finished, w.ui.closed),
              std::make_tuple(false, true, true));
}

}  // namespace
}  // namespace zv::test
