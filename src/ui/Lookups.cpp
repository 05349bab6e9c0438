#include <algorithm>
#include <string>
#include <vector>

#include "app/AppWindow.h"

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
    std::string path = desktopPath;
    while (path.size() > 1 && path.back() == kSep) path.pop_back();
    long position = 0;  // 1-based, 0: none found
    for (std::size_t found = path.find(kSep); found != std::string::npos;
         found = path.find(kSep, found + 1)) {
        position = std::max(static_cast<long>(found) + 1, position);
    }
    if (path.size() == 1) return path;  // the root itself
    return path.substr(static_cast<std::size_t>(position));
}

// The display name of the computer, cut before a backslash when it has one.
std::string AppWindow::readComputerName() {
    const std::string& name = svc.env.computerName;
    return name.substr(0, name.find('\\'));
}

}  // namespace zv
