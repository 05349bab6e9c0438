// Pictures of the window in each mode, during a run and with the dialogs
// open, for a person to look at: written into the folder ZV_SCREENSHOT_DIR
// names (tools/screenshots.sh sets it and runs this under a virtual X
// server). Ends with status 1 when a picture could not be taken.
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdio>
#include <functional>

#include "ui/DustbinWindow.h"
#include "ui/ModeDisplay.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDialogs.h"
#include "ui/qt/QtEventPump.h"
#include "ui/qt/QtWindowHost.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

// A main window over a TestRig's model; the dustbin dialog opens for real.
struct WidgetRig {
    WidgetRig() {
        rig.host.onDustbinDialog = [this] { qtHost.showDustbinDialog(); };
        qtHost.attach(rig.w(), window.get());
    }
    ~WidgetRig() {
        window->hide();
        window.reset();
        QTest::qWait(5);
    }
    AppWindow& w() { return rig.w(); }
    void show() {
        window->mirror();
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    QApplication& app = TestApplication();
    TestRig rig;
    qt::QtWindowHost qtHost;
    std::unique_ptr<qt::MainWindow> window = std::make_unique<qt::MainWindow>(rig.w());
};

int failures = 0;

void Fail(const std::string& what) {
    std::fprintf(stderr, "zv_screenshots: %s\n", what.c_str());
    ++failures;
}

// A job in synchronise mode on the screen, for one picture or a few.
struct Scene {
    explicit Scene(const QString& folder) : folder(folder) {
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
        if (!widget->grab().save(file) || QFileInfo(file).size() <= 1000)
            Fail("no picture in " + file.toStdString());
    }

    QString folder;
    WidgetRig r;
};

void FourModes(Scene& s) {
    const std::pair<JobMode, const char*> modes[] = {
        {JobMode::NoCheck, "mode1-no-check"},
        {JobMode::CheckOnly, "mode2-check-only"},
        {JobMode::Synchronise, "mode3-synchronise"},
        {JobMode::SynchroniseDustbin, "mode4-synchronise-dustbin"}};
    for (const auto& [mode, name] : modes) {
        showMode(s.r.w(), mode);
        s.save(s.r.window.get(), name);
    }
}

void DateFilterOffAndRefusedSource(Scene& s) {
    s.r.w().ui.dateFilterBox.value = 0;
    s.r.w().dateFilterClicked();
    s.r.w().okClicked();
    s.save(s.r.window.get(), "refused-source");
}

void runInProgress(Scene& s) {
    AppWindow& w = s.r.w();
    showMode(w, JobMode::SynchroniseDustbin);
    w.ui.goButton.enabled = w.ui.okButton.enabled = false;
    w.ui.dateFilterBox.enabled = w.ui.verifyArrow.enabled = w.ui.syncArrow.enabled = false;
    w.ui.statusPanels = {"Kopieren", "Bestanden: 1234         [ Verwijderd: 5 ]", "Van: 2345"};
    w.ui.currentFileLabel.text =
        s.r.rig.root / "Documenten/Projecten/2024/Verslag over de jaarcijfers.odt";
    w.ui.currentFileLabel.foreColour = kColourGreen;
    w.ui.progressBar = {true, 0, 1000, 420};
    w.ui.caption = "42 %   " + w.versionText;
    s.save(s.r.window.get(), "run-in-progress");
}

void PickerOpen(Scene& s) {
    makeDirs(s.r.rig.root / "Documenten/Projecten");
    s.r.show();
    s.r.w().pathBoxDoubleClicked(0);
    s.r.window->mirror();
    QTest::qWait(400);
    s.save(s.r.window.get(), "picker-open");
}

void DustbinDialog(Scene& s) {
    AppWindow& w = s.r.w();
    w.job.dustbinToFolder = w.job.removeEmptyFolders = true;
    w.job.dustbinAsWritten = w.job.dustbinPath = s.r.rig.root / "Prullenbak";
    for (const char* name : {"dustbin-dialog", "dustbin-dialog-recycler"}) {
        DustbinWindow model(w);
        model.load();
        qt::DustbinDialog dialog(model, s.r.window.get());
        dialog.show();
        s.save(&dialog, name);
        w.job.dustbinToFolder = false;
    }
}

void DustbinDialogWithThePickerOpen(Scene& s) {
    makeDirs(s.r.rig.root / "Prullenbak/Oud");
    s.r.w().job.dustbinToFolder = true;
    s.r.w().job.dustbinAsWritten = s.r.w().job.dustbinPath = s.r.rig.root / "Prullenbak/Oud";
    DustbinWindow model(s.r.w());
    model.load();
    qt::DustbinDialog dialog(model, s.r.window.get());
    dialog.show();
    model.pathBoxDoubleClicked();
    dialog.mirror();
    QTest::qWait(400);
    s.save(&dialog, "dustbin-dialog-picker-open");
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

// A first run into an empty backup folder, pictured half way; on X the title
// the desktop shows must carry nothing but the window's own caption.
void FirstRunIntoANewFolderHalfWay(Scene& s) {
    AppWindow& w = s.r.w();
    const std::string source = s.r.rig.root / "Documenten";
    for (int folder = 0; folder < 4; ++folder)
        for (int file = 0; file < 25; ++file)
            writeFile(source + "/Map " + std::to_string(folder) + "/Bestand " +
                          std::to_string(file) + ".txt",
                      std::string(20000, 'x'));
    makeDirs(s.r.rig.root / "Backup van documenten");
    w.ui.dateFilterBox.value = 0;
    w.dateFilterClicked();
    w.job.source = source;
    w.job.backup = s.r.rig.root / "Backup van documenten";
    w.job.noDateFilter = w.job.verify = true;
    w.job.synchronise = false;
    showMode(w, JobMode::CheckOnly);
    s.r.show();
    const bool onX = QGuiApplication::platformName() == "xcb" &&
                     !QStandardPaths::findExecutable("xprop").isEmpty();
    const auto titleIs = [&](const std::string& expected) {
        if (onX && TitleOnTheScreen(s.r.window.get()) != expected)
            Fail("the desktop shows another title than " + expected);
    };
    titleIs(s.r.window->windowTitle().toStdString());
    bool saved = false;
    s.r.rig.pump.hookAt = 1;
    s.r.rig.pump.hook = [&] {
        s.r.rig.pump.hookAt = s.r.rig.pump.yields + 1;
        if (saved || w.progress.percent() < 50) return;
        saved = true;
        s.save(s.r.window.get(), "first-run-new-folder-half-way");
        titleIs(w.ui.caption);
    };
    w.goClicked();
    s.r.rig.pump.hook = nullptr;
    if (!saved) Fail("the run never reached half way");
}

// The question about a missing backup folder, and the window behind it,
// which already shows what the question is about.
void AQuestion(Scene& s) {
    s.r.show();
    qt::QtEventPump pump;
    pump.mirror = [&s] { s.r.window->mirror(); };
    qt::QtDialogs dialogs(&pump);
    s.r.w().ui.backupBox.foreColour = kColourRed;
    s.r.w().ui.panel(1) = "Status";
    WhenModalOpens([&](QWidget* modal) {
        s.save(modal, "question-box");
        s.save(s.r.window.get(), "question-window-behind");
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
    });
    if (dialogs.messageBox("Doelmap bestaat niet. Maken?", MessageStyle::YesNo) !=
        MessageAnswer::No)
        Fail("the question was not answered");
}

void SmallestAndEnlargedWindow(Scene& s) {
    s.r.w().ui.statusPanels = {"Bezig af te sluiten...",
                               "Bestanden: 12345         [ Verwijderd: 678 ]", "12 min 34 sec"};
    s.r.show();
    s.r.window->resize(s.r.window->minimumSize());
    s.save(s.r.window.get(), "window-smallest");
    s.r.window->resize(s.r.window->minimumSize() * 2);
    s.save(s.r.window.get(), "window-enlarged");
}

}  // namespace
}  // namespace zv::test

int main() {
    using namespace zv::test;
    const QString folder = qEnvironmentVariable("ZV_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        std::fprintf(stderr,
                     "zv_screenshots: set ZV_SCREENSHOT_DIR to the folder for the pictures\n");
        return 2;
    }
    TestApplication();
    QDir().mkpath(folder);
    for (const auto scene :
         {FourModes, DateFilterOffAndRefusedSource, runInProgress, PickerOpen, DustbinDialog,
          FirstRunIntoANewFolderHalfWay, DustbinDialogWithThePickerOpen, AQuestion,
          SmallestAndEnlargedWindow}) {
        Scene s(folder);
        scene(s);
    }
    return failures == 0 ? 0 : 1;
}
