#include <cstdint>
#include <string>

#include "app/AppWindow.h"
#include "config/VersionText.h"
#include "platform/FileSystem.h"

namespace zv {

namespace {
}

void AppWindow::resized() {
    if (ui.state == WindowState::Minimised) {
        minimised = true;
        return;
    }
    minimised = false;
    const Version& v = svc.env.version;
    ui.caption = windowCaption(v);
}

void AppWindow::dateFilterClicked() {
    job.noDateFilter = ui.dateFilterBox.value != 1;
    ui.fromDateBox.foreColour = job.noDateFilter ? kSysActiveBorder : kSysWindowText;
    ui.goButton.enabled = false;
    ui.goButton.text = kUnconfirmedGo;
}

bool AppWindow::pathBoxKeyPressed(int) {
    if (busy) return true;
    ui.panel(1) = "Invoer";
    ui.panel(2).clear();
    ui.panel(3).clear();
    ui.currentFileLabel.text.clear();
    ui.sourceBox.foreColour = kColourBlack;
    ui.backupBox.foreColour = kColourBlack;
    return false;
}

bool AppWindow::fromDateKeyPressed() {
    return busy;
}

void AppWindow::fromDateLeft() {
    (void)checkSettings();
}

void AppWindow::currentFileClicked() {
    (void)checkSettings();
}

void AppWindow::dustbinPictureDoubleClicked() {
    if (busy) return;
    ui.panel(1) = "Status";
    ui.panel(2).clear();
    svc.host.showDustbinDialog();
}

// Shows the attribute value of the backup folder. A folder that cannot be
// read gets its error instead of a number.
void AppWindow::attributesClicked() {
    std::uint32_t attributes = 0;
    const FsError error = svc.fs.getAttributes(ui.backupBox.text, attributes);
    if (error.failed()) {
        svc.dialogs.messageBox("Fout " + std::to_string(error.number) + ": " + error.description,
                               MessageStyle::Ok);
        return;
    }
    svc.dialogs.messageBox(std::to_string(attributes), MessageStyle::Ok);
}

}  // namespace zv
