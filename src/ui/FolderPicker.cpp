#include "app/AppWindow.h"
#include "ui/FocusNames.h"

namespace zv {

namespace {
bool isPathBox(int index) {
    return index == 0 || index == 2;
}
}  // namespace

// While the job is confirmed or a run is going, the boxes are not to change,
// so the picker does not open either.
void AppWindow::pathBoxDoubleClicked(int index) {
    if (busy || !isPathBox(index)) return;
    ControlState& box = ui.pathBox(index);
    box.visible = false;
    ui.pickerFolder = box.text;
    ui.folderPicker.visible = true;
    ui.focus = kFocusPicker;
    editIndex = index;
}

void AppWindow::pickerSelectionChanged(const std::string& folder) {
    selectedFolder = folder;
    ui.pickerFolder = folder;
}

void AppWindow::pickerChoiceEnded() {
    ui.folderPicker.visible = false;
    ControlState& box = ui.pathBox(editIndex);
    box.visible = true;
    box.text = ui.pickerFolder;
    ui.focus = pathBoxFocus(editIndex);
    ui.panel(1) = "Status";
}

void AppWindow::pickerChoiceCancelled() {
    ui.folderPicker.visible = false;
    ui.pathBox(editIndex).visible = true;
    ui.focus = pathBoxFocus(editIndex);
}

}  // namespace zv
