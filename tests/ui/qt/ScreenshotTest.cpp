// Pictures of the window in each mode, during a run and with the dialogs
// open, for a person to look at. Written only when ZV_SCREENSHOT_DIR names a
// folder (tools/screenshots.sh sets it).
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "ui/DustbinWindow.h"
#include "ui/ModeDisplay.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

class Screenshots : public ::testing::Test {
  protected:
    void SetUp() override {
        if (folder.isEmpty()) GTEST_SKIP() << "ZV_SCREENSHOT_DIR not set";
        QDir().mkpath(folder);
        AppWindow& w = r.w();
        w.ui.sourceBox.text = r.rig.root / "Documenten";
        w.ui.backupBox.text = r.rig.root / "Backup van documenten";
        w.ui.dateFilterBox.value = 1;
        w.dateFilterClicked();
        w.ui.fromDateBox.text = "19-12-1960 12:58:58";
        w.ui.panel(1) = "Status";
        w.resized();
        showMode(w, JobMode::Synchronise);
    }
    void save(QWidget* widget, const char* name) {
        if (widget == r.window.get()) r.show();
        QTest::qWait(150);
        const QString file = QDir(folder).filePath(QString(name) + ".png");
        ASSERT_TRUE(widget->grab().save(file)) << file.toStdString();
        EXPECT_GT(QFileInfo(file).size(), 1000) << file.toStdString();
    }

    const QString folder = qEnvironmentVariable("ZV_SCREENSHOT_DIR");
    WidgetRig r;
};

TEST_F(Screenshots, FourModes) {
    const std::pair<JobMode, const char*> modes[] = {
        {JobMode::NoCheck, "mode1-no-check"},
        {JobMode::CheckOnly, "mode2-check-only"},
        {JobMode::Synchronise, "mode3-synchronise"},
        {JobMode::SynchroniseDustbin, "mode4-synchronise-dustbin"}};
    for (const auto& [mode, name] : modes) {
        showMode(r.w(), mode);
        save(r.window.get(), name);
    }
}

TEST_F(Screenshots, DateFilterOffAndRefusedSource) {
    r.w().ui.dateFilterBox.value = 0;
    r.w().dateFilterClicked();
    r.w().okClicked();
    save(r.window.get(), "refused-source");
}

TEST_F(Screenshots, runInProgress) {
    AppWindow& w = r.w();
    showMode(w, JobMode::SynchroniseDustbin);
    w.ui.goButton.enabled = w.ui.okButton.enabled = false;
    w.ui.dateFilterBox.enabled = w.ui.verifyArrow.enabled = w.ui.syncArrow.enabled = false;
    w.ui.statusPanels = {"Kopieren", "Bestanden: 1234         [ Verwijderd: 5 ]", "Van: 2345"};
    w.ui.currentFileLabel.text =
        r.rig.root / "Documenten/Projecten/2024/Verslag over de jaarcijfers.odt";
    w.ui.currentFileLabel.foreColour = kColourGreen;
    w.ui.progressBar = {true, 0, 1000, 420};
    w.ui.caption = "42 %   " + w.versionText;
    save(r.window.get(), "run-in-progress");
}

TEST_F(Screenshots, PickerOpen) {
    makeDirs(r.rig.root / "Documenten/Projecten");
    r.show();
    r.w().pathBoxDoubleClicked(0);
    r.window->mirror();
    QTest::qWait(400);
    save(r.window.get(), "picker-open");
}

TEST_F(Screenshots, DustbinDialog) {
    r.w().job.dustbinToFolder = r.w().job.removeEmptyFolders = true;
    r.w().job.dustbinAsWritten = r.w().job.dustbinPath = r.rig.root / "Prullenbak";
    for (const char* name : {"dustbin-dialog", "dustbin-dialog-recycler"}) {
        DustbinWindow model(r.w());
        model.load();
        qt::DustbinDialog dialog(model, r.window.get());
        dialog.show();
        save(&dialog, name);
        r.w().job.dustbinToFolder = false;
    }
}

// What the window manager is given as the title of a shown window (X only).
std::string TitleOnTheScreen(QWidget* window) {
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window->winId()), "_NET_WM_NAME"});
    if (!xprop.waitForFinished(5000)) return {};
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype start = out.indexOf('"');
    return start < 0 ? std::string() : out.mid(start + 1, out.size() - start - 2).toStdString();
}

// A first run into an empty backup folder, pictured half way; the title the
// desktop shows carries nothing but the window's own caption.
TEST_F(Screenshots, FirstRunIntoANewFolderHalfWay) {
    AppWindow& w = r.w();
    const std::string source = r.rig.root / "Documenten";
    for (int folder = 0; folder < 4; ++folder)
        for (int file = 0; file < 25; ++file)
            writeFile(source + "/Map " + std::to_string(folder) + "/Bestand " +
                          std::to_string(file) + ".txt",
                      std::string(20000, 'x'));
    makeDirs(r.rig.root / "Backup van documenten");
    w.ui.dateFilterBox.value = 0;
    w.dateFilterClicked();
    w.job.source = source;
    w.job.backup = r.rig.root / "Backup van documenten";
    w.job.noDateFilter = w.job.verify = true;
    w.job.synchronise = false;
    showMode(w, JobMode::CheckOnly);
    r.show();
    const bool onX = QGuiApplication::platformName() == "xcb" &&
                     !QStandardPaths::findExecutable("xprop").isEmpty();
    if (onX) {
        EXPECT_EQ(TitleOnTheScreen(r.window.get()), r.window->windowTitle().toStdString());
    }
    bool saved = false;
    r.rig.pump.hookAt = 1;
    r.rig.pump.hook = [&] {
        r.rig.pump.hookAt = r.rig.pump.yields + 1;
        if (saved || w.progress.percent() < 50) return;
        saved = true;
        save(r.window.get(), "first-run-new-folder-half-way");
        if (onX) {
            EXPECT_EQ(TitleOnTheScreen(r.window.get()), w.ui.caption);
        }
    };
    w.goClicked();
    r.rig.pump.hook = nullptr;
    EXPECT_TRUE(saved);
}

TEST_F(Screenshots, DustbinDialogWithThePickerOpen) {
    makeDirs(r.rig.root / "Prullenbak/Oud");
    r.w().job.dustbinToFolder = true;
    r.w().job.dustbinAsWritten = r.w().job.dustbinPath = r.rig.root / "Prullenbak/Oud";
    DustbinWindow model(r.w());
    model.load();
    qt::DustbinDialog dialog(model, r.window.get());
    dialog.show();
    model.pathBoxDoubleClicked();
    dialog.mirror();
    QTest::qWait(400);
    save(&dialog, "dustbin-dialog-picker-open");
}

// The question about a missing backup folder, and the window behind it,
// which already shows what the question is about.
TEST_F(Screenshots, AQuestion) {
    r.show();
    qt::QtEventPump pump;
    pump.mirror = [this] { r.window->mirror(); };
    qt::QtDialogs dialogs(&pump);
    r.w().ui.backupBox.foreColour = kColourRed;
    r.w().ui.panel(1) = "Status";
    WhenModalOpens([&](QWidget* modal) {
        save(modal, "question-box");
        save(r.window.get(), "question-window-behind");
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.messageBox("Doelmap bestaat niet. Maken?", MessageStyle::YesNo),
              MessageAnswer::No);
}

TEST_F(Screenshots, SmallestAndEnlargedWindow) {
    r.w().ui.statusPanels = {"Bezig af te sluiten...",
                             "Bestanden: 12345         [ Verwijderd: 678 ]", "12 min 34 sec"};
    r.show();
    r.window->resize(r.window->minimumSize());
    save(r.window.get(), "window-smallest");
    r.window->resize(r.window->minimumSize() * 2);
    save(r.window.get(), "window-enlarged");
}

}  // namespace
}  // namespace zv::test
