#include "ui/frmDustbin.h"

#include "app/frmVergelijker.h"
#include "platform/Paths.h"
#include "sync/FolderMarking.h"
#include "ui/FocusNames.h"

namespace zv {

namespace {

constexpr const char* kRecycler = "<RECYCLER>";
constexpr const char* kKeepEmpty = "lege mappen behouden (in de backup)";
constexpr const char* kKillEmpty = "lege mappen wissen (in de backup)";

// The drive part of a drive-list entry "<drive>:=<label>".
std::string DriveOfEntry(const std::string& entry) {
    const std::size_t cut = entry.rfind(":=");
    return cut == std::string::npos ? entry : entry.substr(0, cut);
}

}  // namespace

frmDustbin::frmDustbin(frmVergelijker& main) : Main(main) {
    Text1.enabled = false;
    Text1.backColour = kSysInactiveCaption;
}

void frmDustbin::Form_Load() {
    FolderTreeview1.visible = false;
    OldDustBinPath = Main.DustBinPath;
    if (Main.DustBinCustom) {
        optPrullenbak[2].value = 1;
        optPrullenbak_Click(2);
        Text1.enabled = true;
        Text1.text = Main.DustBinPathLiteral;
    } else {
        Text1.text = kRecycler;
    }
    ShowKillEmpty(Main.KillEmpty);
}

void frmDustbin::ShowKillEmpty(bool killEmpty) {
    Image2.toolTip = killEmpty ? kKillEmpty : kKeepEmpty;
    Line5.visible = killEmpty;
    Line6.visible = killEmpty;
}

void frmDustbin::optPrullenbak_Click(int index) {
    if (index != 1 && index != 2) return;
    optPrullenbak[1].value = index == 1 ? 1 : 0;
    optPrullenbak[2].value = index == 2 ? 1 : 0;
    if (index == 1) {
        Text1.text.clear();
        Text1.backColour = kSysInactiveCaption;
        Text1.enabled = false;
        DustbinChoice = 1;
        return;
    }
    Text1.enabled = true;
    Text1.backColour = kColourWhite;
    Text1.text = Main.DustBinPath;
    DustbinChoice = 2;
}

// Takes effect at once, whichever button closes the dialog.
void frmDustbin::Image2_Click() {
    const bool killEmpty = !(Line5.visible && Line6.visible);
    ShowKillEmpty(killEmpty);
    Main.KillEmpty = killEmpty;
}

void frmDustbin::SetPickerMode(bool open) {
    Text1.visible = !open;
    optPrullenbak[1].visible = !open;
    optPrullenbak[2].visible = !open;
    cmdOK.visible = !open;
    FolderTreeview1.visible = open;
    focus = open ? kFocusPicker : kFocusDustbinPath;
}

void frmDustbin::Text1_DblClick() {
    if (!Text1.enabled) return;
    SetPickerMode(true);
    pickerFolder = Text1.text;
}

void frmDustbin::FolderTreeview1_ChoiceEnded() {
    SetPickerMode(false);
    Text1.text = pickerFolder;
}

void frmDustbin::FolderTreeview1_ChoiceCancelled() {
    SetPickerMode(false);
}

void frmDustbin::cmdAnnuleren_Click() {
    closed = true;
}

// On this system a drive is a mount point: a bare drive is the root, a
// mounted volume's own folder, or a text that is no absolute path at all.
bool frmDustbin::IsFullPath(const std::string& path) const {
    if (!isAbsolutePath(path) || path == "/") return false;
    const std::string trimmed(withoutTrailingSeparators(path));
    for (const std::string& entry : Main.DriveList)
        if (DriveOfEntry(entry) == trimmed) return false;
    return Main.svc.fs.driveName(trimmed) != trimmed;
}

void frmDustbin::cmdOK_Click() {
    const std::string resolved = Main.DriveLetterPath(Text1.text);
    if (resolved.empty() && DustbinChoice != 1) {
        Main.svc.dialogs.messageBox("Pad bestaat niet.", MessageStyle::Ok);
        return;
    }
    if (DustbinChoice == 2 && !IsFullPath(resolved)) {
        Main.svc.dialogs.messageBox("Volledige padnaam S.V.P", MessageStyle::Ok);
        return;
    }
    if (DustbinChoice == 2 && Main.svc.fs.folderExists(resolved)) {
        AcceptExistingFolder(resolved);
    } else if (DustbinChoice == 2) {
        OfferNewFolder(resolved);
    } else if (DustbinChoice == 1) {
        AcceptRecycleBin(resolved);
    }
}

void frmDustbin::AcceptFolder(const std::string& folder) {
    SetIconDustBin(Main.svc.fs, folder);
    Main.DustBinCustom = true;
    Main.DustBinPath = folder;
    Main.DustBinPathLiteral = Text1.text;
    Main.DustBinWin = false;
    Main.ui.imPrullenbak.toolTip = folder;
}

// The job file is written by the next confirmation or run.
void frmDustbin::AcceptExistingFolder(const std::string& folder) {
    AcceptFolder(folder);
    ClearOldMarkUnless(folder);
    closed = true;
}

void frmDustbin::OfferNewFolder(const std::string& folder) {
    if (Main.svc.dialogs.messageBox("Map bestaat niet. Maken ?", MessageStyle::YesNo) !=
        MessageAnswer::Yes) {
        focus = kFocusDustbinPath;
        return;
    }
    if (Main.svc.fs.createFolder(folder)) (void)Main.CreatePath(folder);
    if (!Main.svc.fs.folderExists(folder)) {
        Main.svc.dialogs.messageBox("Kan map niet maken.", MessageStyle::Ok);
        return;
    }
    AcceptFolder(folder);
    ClearOldMarkUnless(Main.DriveLetterPath(folder));
    Main.CreateInitFileOnOK();
    closed = true;
}

void frmDustbin::AcceptRecycleBin(const std::string& resolved) {
    Main.DustBinCustom = false;
    Main.DustBinWin = true;
    Main.DustBinPath.clear();
    Main.DustBinPathLiteral = Text1.text;
    Main.ui.imPrullenbak.toolTip = kRecycler;
    ClearOldMarkUnless(resolved);
    Main.CreateInitFileOnOK();
    closed = true;
}

// The folder that was the dustbin before loses its mark when it is no longer
// the dustbin.
void frmDustbin::ClearOldMarkUnless(const std::string& folder) {
    if (folder != OldDustBinPath && !OldDustBinPath.empty())
        ClearFolderMark(Main.svc.fs, OldDustBinPath);
}

}  // namespace zv
