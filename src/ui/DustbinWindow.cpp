#include "ui/DustbinWindow.h"

#include "app/AppWindow.h"
#include "platform/Paths.h"
#include "run/FolderHelpers.h"
#include "sync/FolderMarking.h"
#include "ui/FocusNames.h"

namespace zv {

namespace {

constexpr const char* kRecycler = "<RECYCLER>";
constexpr const char* kKeepEmpty = "lege mappen behouden (in de backup)";
constexpr const char* kKillEmpty = "lege mappen wissen (in de backup)";

// The drive part of a drive-list entry "<drive>:=<label>".
std::string driveOfEntry(const std::string& entry) {
    const std::size_t cut = entry.rfind(":=");
    return cut == std::string::npos ? entry : entry.substr(0, cut);
}

}  // namespace

DustbinWindow::DustbinWindow(AppWindow& main) : mainWindow(main) {
    folderBox.enabled = false;
    folderBox.backColour = kSysInactiveCaption;
}

void DustbinWindow::load() {
    folderPicker.visible = false;
    oldDustbinPath = mainWindow.job.dustbinPath;
    if (mainWindow.job.dustbinToFolder) {
        dustbinChoices[2].value = 1;
        dustbinChoiceClicked(2);
        folderBox.enabled = true;
        folderBox.text = mainWindow.job.dustbinAsWritten;
    } else {
        folderBox.text = kRecycler;
    }
    showRemoveEmpty(mainWindow.job.removeEmptyFolders);
}

void DustbinWindow::showRemoveEmpty(bool killEmpty) {
    emptyFoldersPicture.toolTip = killEmpty ? kKillEmpty : kKeepEmpty;
    crossLine1.visible = killEmpty;
    crossLine2.visible = killEmpty;
}

void DustbinWindow::dustbinChoiceClicked(int index) {
    if (index != 1 && index != 2) return;
    dustbinChoices[1].value = index == 1 ? 1 : 0;
    dustbinChoices[2].value = index == 2 ? 1 : 0;
    if (index == 1) {
        folderBox.text.clear();
        folderBox.backColour = kSysInactiveCaption;
        folderBox.enabled = false;
        dustbinChoice = 1;
        return;
    }
    folderBox.enabled = true;
    folderBox.backColour = kColourWhite;
    folderBox.text = mainWindow.job.dustbinPath;
    dustbinChoice = 2;
}

// Takes effect at once, whichever button closes the dialog.
void DustbinWindow::emptyFoldersClicked() {
    const bool killEmpty = !(crossLine1.visible && crossLine2.visible);
    showRemoveEmpty(killEmpty);
    mainWindow.job.removeEmptyFolders = killEmpty;
}

void DustbinWindow::setPickerMode(bool open) {
    folderBox.visible = !open;
    dustbinChoices[1].visible = !open;
    dustbinChoices[2].visible = !open;
    okButton.visible = !open;
    folderPicker.visible = open;
    focus = open ? kFocusPicker : kFocusDustbinPath;
}

void DustbinWindow::pathBoxDoubleClicked() {
    if (!folderBox.enabled) return;
    setPickerMode(true);
    pickerFolder = folderBox.text;
}

void DustbinWindow::pickerChoiceEnded() {
    setPickerMode(false);
    folderBox.text = pickerFolder;
}

void DustbinWindow::pickerChoiceCancelled() {
    setPickerMode(false);
}

void DustbinWindow::cancelClicked() {
    closed = true;
}

// On this system a drive is a mount point: a bare drive is the root, a
// mounted volume's own folder, or a text that is no absolute path at all.
bool DustbinWindow::isFullPath(const std::string& path) const {
    if (!isAbsolutePath(path) || path == "/") return false;
    const std::string trimmed(withoutTrailingSeparators(path));
    for (const std::string& entry : mainWindow.driveList)
        if (driveOfEntry(entry) == trimmed) return false;
    return mainWindow.svc.fs.driveName(trimmed) != trimmed;
}

void DustbinWindow::okClicked() {
    const std::string resolved = mainWindow.resolveVolumePath(folderBox.text);
    if (resolved.empty() && dustbinChoice != 1) {
        mainWindow.svc.dialogs.messageBox("Pad bestaat niet.", MessageStyle::Ok);
        return;
    }
    if (dustbinChoice == 2 && !isFullPath(resolved)) {
        mainWindow.svc.dialogs.messageBox("Volledige padnaam S.V.P", MessageStyle::Ok);
        return;
    }
    if (dustbinChoice == 2 && mainWindow.svc.fs.folderExists(resolved)) {
        acceptExistingFolder(resolved);
    } else if (dustbinChoice == 2) {
        offerNewFolder(resolved);
    } else if (dustbinChoice == 1) {
        acceptRecycleBin(resolved);
    }
}

void DustbinWindow::acceptFolder(const std::string& folder) {
    markDustbinFolder(mainWindow.svc.fs, folder);
    mainWindow.job.dustbinToFolder = true;
    mainWindow.job.dustbinPath = folder;
    mainWindow.job.dustbinAsWritten = folderBox.text;
    mainWindow.job.dustbinToTrash = false;
    mainWindow.ui.dustbinPicture.toolTip = folder;
}

// The job file is written by the next confirmation or run.
void DustbinWindow::acceptExistingFolder(const std::string& folder) {
    acceptFolder(folder);
    clearOldMarkUnless(folder);
    closed = true;
}

void DustbinWindow::offerNewFolder(const std::string& folder) {
    if (mainWindow.svc.dialogs.messageBox("Map bestaat niet. Maken ?", MessageStyle::YesNo) !=
        MessageAnswer::Yes) {
        focus = kFocusDustbinPath;
        return;
    }
    if (mainWindow.svc.fs.createFolder(folder).failed()) createPath(mainWindow.svc.fs, folder);
    if (!mainWindow.svc.fs.folderExists(folder)) {
        mainWindow.svc.dialogs.messageBox("Kan map niet maken.", MessageStyle::Ok);
        return;
    }
    acceptFolder(folder);
    clearOldMarkUnless(mainWindow.resolveVolumePath(folder));
    mainWindow.saveJobOnOk();
    closed = true;
}

void DustbinWindow::acceptRecycleBin(const std::string& resolved) {
    mainWindow.job.dustbinToFolder = false;
    mainWindow.job.dustbinToTrash = true;
    mainWindow.job.dustbinPath.clear();
    mainWindow.job.dustbinAsWritten = folderBox.text;
    mainWindow.ui.dustbinPicture.toolTip = kRecycler;
    clearOldMarkUnless(resolved);
    mainWindow.saveJobOnOk();
    closed = true;
}

// The folder that was the dustbin before loses its mark when it is no longer
// the dustbin.
void DustbinWindow::clearOldMarkUnless(const std::string& folder) {
    if (folder != oldDustbinPath && !oldDustbinPath.empty())
        clearFolderMark(mainWindow.svc.fs, oldDustbinPath);
}

}  // namespace zv
