#pragma once

#include <string>

namespace zv {

// Names the presentation models use for the control that has the focus.
inline constexpr const char* kFocusText2 = "fromDateBox";
inline constexpr const char* kFocusPicker = "folderPicker";
inline constexpr const char* kFocusDustbinPath = "folderBox";

// "folderBox(0)" and "folderBox(2)": the main window's path boxes.
inline std::string pathBoxFocus(int index) {
    return "folderBox(" + std::to_string(index) + ")";
}

}  // namespace zv
