#include <algorithm>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "platform/Paths.h"

namespace zv {

// One entry per mounted volume that holds user files: "<mount point>:=<label>",
// or "***" in place of a label that is missing or empty.
void AppWindow::readDriveList() {
    driveList.clear();
    for (const Volume& volume : svc.fs.volumes()) {
        const std::string label = volume.label.empty() ? "***" : volume.label;
        driveList.push_back(volume.mountPoint + ":=" + label);
    }
}

// The desktop folder comes from the environment; its name is the text after
// the last separator (a trailing separator is not taken as the last one).
std::string AppWindow::readDesktopName() {
    desktopPath = svc.env.desktopPath;
    if (withoutTrailingSeparators(desktopPath) == "/") return "/";  // the root itself
    return std::string(lastComponent(desktopPath));
}

// The display name of the computer, cut before a backslash when it has one.
std::string AppWindow::readComputerName() {
    const std::string& name = svc.env.computerName;
    return name.substr(0, name.find('\\'));
}

}  // namespace zv
