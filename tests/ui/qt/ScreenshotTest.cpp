// Pictures of the window in each mode, during a run and with the dialogs
// open, for a person to look at. Written only when ZV_SCREENSHOT_DIR names a
// folder (tools/screenshots.sh sets it).
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "ui/ModeDisplay.h"
#include "ui/frmDustbin.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

class Screenshots : public ::testing::Test {
  protected:
    void SetUp() override {
        if (folder.isEmpty()) GTEST_SKIP() << "ZV_SCREENSHOT_DIR not set";
        QDir().mkpath(folder);
        frmVergelijker& w = r.w();
        w.ui.Text1[0].text = r.rig.root / "Documenten";
        w.ui.Text1[2].text = r.rig.root / "Backup van documenten";
        w.ui.Check1.value = 1;
        w.Check1_Click();
        w.ui.text2.text = "19-12-1960 12:58:58";
        w.ui.panel(1) = "Status";
        w.Form_Resize();
        ShowMode(w, JobMode::Synchronise);
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
        ShowMode(r.w(), mode);
        save(r.window.get(), name);
    }
}

TEST_F(Screenshots, DateFilterOffAndRefusedSource) {
    r.w().ui.Check1.value = 0;
    r.w().Check1_Click();
    r.w().cmdOK_Click();
    save(r.window.get(), "refused-source");
}

TEST_F(Screenshots, RunInProgress) {
    frmVergelijker& w = r.w();
    ShowMode(w, JobMode::SynchroniseDustbin);
    w.ui.cmdGo.enabled = w.ui.cmdOK.enabled = false;
    w.ui.Check1.enabled = w.ui.Frame1.enabled = w.ui.Frame2.enabled = false;
    w.ui.sbPanels = {"Kopieren", "Bestanden: 1234         [ Verwijderd: 5 ]", "Van: 2345"};
    w.ui.lblFiles.text = r.rig.root / "Documenten/Projecten/2024/Verslag over de jaarcijfers.odt";
    w.ui.lblFiles.foreColour = kColourGreen;
    w.ui.ProgressBar1 = {true, 0, 1000, 420};
    w.ui.caption = "42 %   " + w.AppVersionText;
    save(r.window.get(), "run-in-progress");
}

TEST_F(Screenshots, PickerOpen) {
    makeDirs(r.rig.root / "Documenten/Projecten");
    r.show();
    r.w().Text1_DblClick(0);
    r.window->mirror();
    QTest::qWait(400);
    save(r.window.get(), "picker-open");
}

TEST_F(Screenshots, DustbinDialog) {
    r.w().DustBinCustom = r.w().KillEmpty = true;
    r.w().DustBinPathLiteral = r.w().DustBinPath = r.rig.root / "Prullenbak";
    for (const char* name : {"dustbin-dialog", "dustbin-dialog-recycler"}) {
        frmDustbin model(r.w());
        model.Form_Load();
        qt::DustbinDialog dialog(model, r.window.get());
        dialog.show();
        save(&dialog, name);
        r.w().DustBinCustom = false;
    }
}

}  // namespace
}  // namespace zv::test
