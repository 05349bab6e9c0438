#include "app/frmVergelijker.h"
#include "ui/FocusNames.h"

namespace zv {

namespace {
bool IsPathBox(int index) {
    return index == 0 || index == 2;
}
}  // namespace

// While the job is confirmed or a run is going, the boxes are not to change,
// so the picker does not open either.
void frmVergelijker::Text1_DblClick(int index) {
    if (Busy || !IsPathBox(index)) return;
    ControlState& box = ui.Text1[static_cast<std::size_t>(index)];
    box.visible = false;
    ui.pickerFolder = box.text;
    ui.FolderTreeview1.visible = true;
    ui.focus = kFocusPicker;
    EditIndex = index;
}

void frmVergelijker::FolderTreeview1_SelectionChanged(const std::string& folder) {
    SelectedFolder = folder;
    ui.pickerFolder = folder;
}

void frmVergelijker::FolderTreeview1_ChoiceEnded() {
    ui.FolderTreeview1.visible = false;
    ControlState& box = ui.Text1[static_cast<std::size_t>(EditIndex)];
    box.visible = true;
    box.text = ui.pickerFolder;
    ui.focus = PathBoxFocus(EditIndex);
    ui.panel(1) = "Status";
}

void frmVergelijker::FolderTreeview1_ChoiceCancelled() {
    ui.FolderTreeview1.visible = false;
    ui.Text1[static_cast<std::size_t>(EditIndex)].visible = true;
    ui.focus = PathBoxFocus(EditIndex);
}

}  // namespace zv
