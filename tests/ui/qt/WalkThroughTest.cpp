// One session from start to finish on real folders, through the window's
// widgets: no job file yet, pick or type the folders, step the mode with the
// two arrow frames, choose the dustbin in its dialog, confirm, run, Exit, and
// find the job again in a new window on the same application folder.
#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QCheckBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "ui/qt/ArrowBox.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/HelpWindow.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Picture.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

// Everything one start of the program has: services, model and window.
struct Session {
    explicit Session(const std::string& root) {
        env.appFolder = root + "/app";
        env.desktopPath = root + "/Bureaublad";
        env.computerName = "werkplek";
        env.workingFolder = root;
        w = std::make_unique<AppWindow>(Services{fs, dialogs, clock, pump, trash, host, env});
        window = std::make_unique<qt::MainWindow>(*w);
        host.attach(*w, window.get());
        pump.mirror = [this] { window->mirror(); };
        pump.repaint = [this] { window->repaint(); };
    }
    void start() {
        window->runHandler([this] { w->load(); });
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    EnvironmentInfo env;
    LinuxFileSystem fs;
    ScriptedDialogs dialogs;
    SystemClock clock;
    qt::QtEventPump pump;
    RecordingTrash trash;
    qt::QtWindowHost host;
    std::unique_ptr<AppWindow> w;
    std::unique_ptr<qt::MainWindow> window;
};

// Picks a folder the way a person does: double-click the box, find the folder
// in the tree, double-click it.
void PickFolder(qt::MainWindow& window, int box, const std::string& folder) {
    QTest::mouseDClick(window.pathBox(box), Qt::LeftButton);
    ASSERT_TRUE(window.picker()->isVisible());
    QTreeView* tree = window.picker()->tree();
    auto* proxy = qobject_cast<QAbstractProxyModel*>(tree->model());
    auto* files = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
    QModelIndex index;
    QTRY_VERIFY(
        (index = proxy->mapFromSource(files->index(QString::fromStdString(folder)))).isValid());
    tree->scrollTo(index);
    QRect place;
    QTRY_VERIFY(!(place = tree->visualRect(index)).isEmpty());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, place.center());
    ASSERT_FALSE(window.picker()->isVisible());
}

TEST(WalkThrough, FromAFirstStartToARunAndBack) {
    TestApplication();
    TempDir root;
    makeDirs(root / "app");
    makeDirs(root / "Documenten/Brieven");
    writeFile(root / "Documenten/lijst.txt", "boodschappen");
    writeFile(root / "Documenten/Brieven/aan oma.txt", "Lieve oma,");
    const std::string source = root / "Documenten";
    const std::string backup = root / "Backup";
    const std::string dustbin = root / "Prullenbak";
    makeDirs(dustbin);

    {
        Session first(root.path());
        first.start();
        qt::MainWindow& window = *first.window;
        EXPECT_TRUE(window.windowTitle().startsWith("Zandvast & Backup Tool v."));
        EXPECT_EQ(window.pathBox(0)->text().toStdString(), root / "app");
        EXPECT_EQ(window.dateBox()->text(), "19-12-1960 12:58:58");
        EXPECT_TRUE(window.picture("noCheckPicture")->isVisible());
        EXPECT_FALSE(window.goButton()->isEnabled());
        for (QPushButton* button :
             {window.okButton(), window.exitButton(), window.attributesButton()})
            EXPECT_TRUE(button->text().contains('&')) << "no access key";
        QTest::keyClick(window.pathBox(0), Qt::Key_F1);
        ASSERT_NE(window.helpWindow(), nullptr);
        EXPECT_TRUE(window.helpWindow()->toPlainText().contains("Prullenbak"));
        QTest::keyClick(window.helpWindow(), Qt::Key_Escape);
        EXPECT_FALSE(window.helpWindow()->isVisible());

        PickFolder(window, 0, source);
        QTest::mouseDClick(window.pathBox(0), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), window.picker()->tree());
        QTest::keyClick(window.picker()->tree(), Qt::Key_Up);
        QTest::keyClick(window.picker()->tree(), Qt::Key_Escape);  // the box comes back as it was
        EXPECT_FALSE(window.picker()->isVisible());
        EXPECT_EQ(window.pathBox(0)->text().toStdString(), source);
        window.pathBox(2)->setFocus();
        window.pathBox(2)->selectAll();
        QTest::keyClicks(window.pathBox(2), QString::fromStdString(backup));
        EXPECT_EQ(first.w->ui.backupBox.text, backup);

        QTest::mouseClick(window.frame1(), Qt::LeftButton);
        EXPECT_TRUE(window.picture("syncPicture")->isVisible());
        QTest::mouseClick(window.frame2(), Qt::LeftButton);
        EXPECT_TRUE(window.picture("syncDustbinPicture")->isVisible());
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<qt::DustbinDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "   Prullenbak");
            QTest::mouseClick(dialog->optionLabel(2), Qt::LeftButton);
            QTest::keyClicks(dialog->pathBox(), QString::fromStdString(dustbin));
            QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        });
        QTest::mouseDClick(window.picture("dustbinPicture"), Qt::LeftButton);
        EXPECT_EQ(first.w->job.dustbinPath, dustbin);
        EXPECT_EQ(window.picture("dustbinPicture")->toolTip().toStdString(), dustbin);

        first.dialogs.script(MessageAnswer::Yes);  // make the backup folder
        QTest::mouseClick(window.okButton(), Qt::LeftButton);
        ASSERT_EQ(first.dialogs.shown.size(), 1u);
        EXPECT_EQ(first.dialogs.shown[0].text, "Doelmap bestaat niet. Maken?");
        ASSERT_TRUE(window.goButton()->isEnabled());

        QTest::mouseClick(window.goButton(), Qt::LeftButton);
        EXPECT_EQ(window.statusPanel(1)->text(), "Klaar");
        EXPECT_TRUE(window.statusPanel(3)->text().contains("sec"));
        EXPECT_EQ(readFile(backup + "/lijst.txt"), "boodschappen");
        EXPECT_EQ(readFile(backup + "/Brieven/aan oma.txt"), "Lieve oma,");
        EXPECT_FALSE(window.goButton()->isEnabled());
        EXPECT_NE(window.dateBox()->text(), "19-12-1960 12:58:58");
        EXPECT_FALSE(first.w->userBreak);
        QTest::mouseClick(window.exitButton(), Qt::LeftButton);
        EXPECT_TRUE(first.w->userBreak);
        EXPECT_TRUE(first.w->ui.closed);
        EXPECT_FALSE(window.isVisible());
    }

    Session second(root.path());
    second.start();
    EXPECT_EQ(second.window->pathBox(0)->text().toStdString(), source);
    EXPECT_EQ(second.window->pathBox(2)->text().toStdString(), backup);
    EXPECT_TRUE(second.window->picture("syncDustbinPicture")->isVisible());
    EXPECT_EQ(second.w->job.dustbinPath, dustbin);
    EXPECT_TRUE(second.window->dateCheck()->isChecked());
    EXPECT_NE(second.window->dateBox()->text(), "19-12-1960 12:58:58");
    EXPECT_TRUE(second.dialogs.shown.empty());
    EXPECT_FALSE(second.w->ui.closed);
}

}  // namespace
}  // namespace zv::test
