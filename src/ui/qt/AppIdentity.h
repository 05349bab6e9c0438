#pragma once

class QCoreApplication;

namespace zv::qt {

// The title of the program's message boxes.
inline constexpr const char* kAppTitle = "Zandvast & Backup Tool";

// Names the application for the desktop. No display name is set: Qt would
// append it to every window title.
void nameApplication();

// Loads Qt's own Dutch texts (standard buttons, the folder picker's model)
// from Qt's translations folder. False when they are not installed; the
// program then runs with Qt's English texts.
bool loadDutchQtTexts(QCoreApplication& app);

}  // namespace zv::qt
