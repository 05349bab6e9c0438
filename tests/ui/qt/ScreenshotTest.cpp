// Pictures of the window in each mode, during a run and with the dialogs
// open, for a person to look at. Written only when ZV_SCREENSHOT_DIR names a
// folder (tools/screenshots.sh sets it).
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include "app/frmVergelijker.h"
#include "platform/DateText.h"
#include "ui/ModeDisplay.h"
#include "ui/frmDustbin.h"
#include "ui/qt/DustbinDialog.h"
#include "ui/qt/WidgetRig.h"

namespace zv::test {
namespace {

QString ShotFolder() {
    return qEnvironmentVariable("ZV_SCREENSHOT_DIR");
}

void Save(QWidget* widget, const QString& name) {
    Pump(150);
    const QString file = QDir(ShotFolder()).filePath(name + ".png");
    ASSERT_TRUE(widget->grab().save(file)) << file.toStdString();
    EXPECT_GT(QFileInfo(file).size(), 1000) << file.toStdString();
}

void FillJob(frmVergelijker& w, const TestRig& rig) {
    w.ui.Text1[0].text = rig.root / "Documenten";
    w.ui.Text1[2].text = rig.root / "Backup van documenten";
    w.ui.Check1.value = 1;
    w.Check1_Click();
    w.ui.text2.text = "19-12-1960 12:58:58";
    w.ui.panel(1) = "Status";
    w.Form_Resize();
}

class Screenshots : public ::testing::Test {
  protected:
    void SetUp() override {
        if (ShotFolder().isEmpty()) GTEST_SKIP() << "ZV_SCREENSHOT_DIR not set";
        QDir().mkpath(ShotFolder());
    }
};

TEST_F(Screenshots, FourModes) {
    WidgetRig r;
    FillJob(r.w(), r.rig);
    const std::pair<JobMode, const char*> modes[] = {
        {JobMode::NoCheck, "mode1-no-check"},
        {JobMode::CheckOnly, "mode2-check-only"},
        {JobMode::Synchronise, "mode3-synchronise"},
        {JobMode::SynchroniseDustbin, "mode4-synchronise-dustbin"}};
    r.show();
    for (const auto& [mode, name] : modes) {
        ShowMode(r.w(), mode);
        r.window->mirror();
        Save(r.window.get(), name);
    }
}

TEST_F(Screenshots, DateFilterOffAndRefusedSource) {
    WidgetRig r;
    FillJob(r.w(), r.rig);
    r.w().ui.Check1.value = 0;
    r.w().Check1_Click();
    ShowMode(r.w(), JobMode::Synchronise);
    r.w().cmdOK_Click();
    r.show();
    Save(r.window.get(), "refused-source");
}

TEST_F(Screenshots, RunInProgress) {
    WidgetRig r;
    frmVergelijker& w = r.w();
    FillJob(w, r.rig);
    ShowMode(w, JobMode::SynchroniseDustbin);
    w.ui.cmdGo.enabled = w.ui.cmdOK.enabled = false;
    w.ui.Check1.enabled = w.ui.Frame1.enabled = w.ui.Frame2.enabled = false;
    w.ui.panel(1) = "Kopieren";
    w.ui.panel(2) = "Bestanden: 1234         [ Verwijderd: 5 ]";
    w.ui.panel(3) = "Van: 2345";
    w.ui.lblFiles.text = r.rig.root / "Documenten/Projecten/2024/Verslag over de jaarcijfers.odt";
    w.ui.lblFiles.foreColour = kColourGreen;
    w.ui.ProgressBar1.visible = true;
    w.ui.ProgressBar1.max = 1000;
    w.ui.ProgressBar1.value = 420;
    w.ui.caption = "42 %   " + w.AppVersionText;
    r.show();
    Save(r.window.get(), "run-in-progress");
}

TEST_F(Screenshots, PickerOpen) {
    WidgetRig r;
    FillJob(r.w(), r.rig);
    makeDirs(r.rig.root / "Documenten/Projecten");
    ShowMode(r.w(), JobMode::Synchronise);
    r.show();
    r.w().Text1_DblClick(0);
    r.window->mirror();
    Pump(400);
    Save(r.window.get(), "picker-open");
}

TEST_F(Screenshots, DustbinDialog) {
    WidgetRig r;
    r.w().DustBinCustom = true;
    r.w().DustBinPathLiteral = r.w().DustBinPath = r.rig.root / "Prullenbak";
    r.w().KillEmpty = true;
    frmDustbin model(r.w());
    model.Form_Load();
    qt::DustbinDialog dialog(model, r.window.get());
    dialog.show();
    Save(&dialog, "dustbin-dialog");
    frmDustbin recycler(r.w());
    r.w().DustBinCustom = false;
    recycler.Form_Load();
    qt::DustbinDialog second(recycler, r.window.get());
    second.show();
    Save(&second, "dustbin-dialog-recycler");
}

}  // namespace
}  // namespace zv::test
