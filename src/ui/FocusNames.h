#pragma once

#include <string>

namespace zv {

// Names the presentation models use for the control that has the focus.
inline constexpr const char* kFocusText2 = "text2";
inline constexpr const char* kFocusPicker = "FolderTreeview1";
inline constexpr const char* kFocusDustbinPath = "Text1";

// "Text1(0)" and "Text1(2)": the main window's path boxes.
inline std::string PathBoxFocus(int index) {
    return "Text1(" + std::to_string(index) + ")";
}

}  // namespace zv
