// Placeholder until the window lands.
#include "app/frmVergelijker.h"
namespace zv {
void frmVergelijker::Form_Resize() {}
void frmVergelijker::Check1_Click() {}
void frmVergelijker::Frame1_Click() {}
void frmVergelijker::Frame2_Click() {}
void frmVergelijker::imPrullenbak_DblClick() {}
void frmVergelijker::Text1_DblClick(int) {}
bool frmVergelijker::Text1_KeyPress(int) { return Busy; }
bool frmVergelijker::text2_KeyPress() { return Busy; }
void frmVergelijker::text2_LostFocus() {}
void frmVergelijker::lblFiles_Click() {}
void frmVergelijker::Command1_Click() {}
void frmVergelijker::FolderTreeview1_SelectionChanged(const std::string&) {}
void frmVergelijker::FolderTreeview1_ChoiceEnded() {}
void frmVergelijker::ShowArrow1Red() {}
void frmVergelijker::ShowArrow1Dark() {}
void frmVergelijker::ShowArrow2Faded() {}
void frmVergelijker::ShowArrow2Dark() {}
}  // namespace zv
