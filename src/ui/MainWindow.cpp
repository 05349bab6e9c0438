#include <cstdint>
#include <string>

#include "app/frmVergelijker.h"
#include "config/VersionText.h"
#include "platform/FileSystem.h"

namespace zv {

namespace {
constexpr const char* kUnconfirmedGo = ">------------>>>>";
}

void frmVergelijker::Form_Resize() {
    if (ui.state == WindowState::Minimised) {
        Minimised = true;
        return;
    }
    Minimised = false;
    const Version& v = svc.env.version;
    ui.caption = windowCaption(v);
}

void frmVergelijker::Check1_Click() {
    job.noDateFilter = ui.Check1.value != 1;
    ui.text2.foreColour = job.noDateFilter ? kSysActiveBorder : kSysWindowText;
    ui.cmdGo.enabled = false;
    ui.cmdGo.text = kUnconfirmedGo;
}

bool frmVergelijker::Text1_KeyPress(int) {
    if (Busy) return true;
    ui.panel(1) = "Invoer";
    ui.panel(2).clear();
    ui.panel(3).clear();
    ui.lblFiles.text.clear();
    ui.Text1[0].foreColour = kColourBlack;
    ui.Text1[2].foreColour = kColourBlack;
    return false;
}

bool frmVergelijker::text2_KeyPress() {
    return Busy;
}

void frmVergelijker::text2_LostFocus() {
    (void)CheckSettings();
}

void frmVergelijker::lblFiles_Click() {
    (void)CheckSettings();
}

void frmVergelijker::imPrullenbak_DblClick() {
    if (Busy) return;
    ui.panel(1) = "Status";
    ui.panel(2).clear();
    svc.host.showDustbinDialog();
}

// Shows the attribute value of the backup folder. A folder that cannot be
// read gets its error instead of a number.
void frmVergelijker::Command1_Click() {
    std::uint32_t attributes = 0;
    const FsError error = svc.fs.getAttributes(ui.Text1[2].text, attributes);
    if (error) {
        svc.dialogs.messageBox("Fout " + std::to_string(error.number) + ": " + error.description,
                               MessageStyle::Ok);
        return;
    }
    svc.dialogs.messageBox(std::to_string(attributes), MessageStyle::Ok);
}

}  // namespace zv
