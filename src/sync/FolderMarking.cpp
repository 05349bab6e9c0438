#include "sync/FolderMarking.h"

#include <string>
#include <string_view>

#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "sync/SyncPaths.h"

namespace zv {

namespace {

constexpr std::uint32_t kIniAttributes = kAttrArchive | kAttrSystem | kAttrHidden;  // 38
constexpr std::uint32_t kMarkedFolder = kAttrDirectory | kAttrReadOnly;             // 17
constexpr std::string_view kDriveIconIndex = "8";
constexpr std::string_view kDustbinIconIndex = "101";
constexpr std::string_view kDriveIconName = "drive-harddisk";
constexpr std::string_view kDustbinIconName = "user-trash";

std::string desktopIni(std::string_view iconIndex) {
    std::string text = "[.ShellClassInfo]\r\n";
    text += "IconFile=%SystemRoot%\\system32\\SHELL32.dll\r\n";
    text += "IconIndex=";
    text += iconIndex;
    text += "\r\n";
    return text;
}

bool isGroupHeader(std::string_view line) {
    return !line.empty() && line.front() == '[';
}

// Sets Icon= in the [Desktop Entry] group of a .directory text and keeps every
// other line the user may have there.
class DirectoryFileEditor {
  public:
    explicit DirectoryFileEditor(std::string_view icon)
        : iconLine_("Icon=" + std::string(icon) + "\n") {}

    std::string apply(const std::string& old) {
        std::size_t start = 0;
        while (start < old.size()) {
            std::size_t end = old.find('\n', start);
            end = end == std::string::npos ? old.size() : end + 1;
            take(std::string_view(old.data() + start, end - start));
            start = end;
        }
        if (inEntry_) putIcon();
        if (!done_) out_ += "[Desktop Entry]\n" + iconLine_;
        return out_;
    }

  private:
    void take(std::string_view line) {
        const std::string_view bare = line.substr(0, line.find_first_of("\r\n"));
        if (isGroupHeader(bare)) {
            if (inEntry_) putIcon();
            inEntry_ = bare == "[Desktop Entry]";
        } else if (inEntry_ && bare.starts_with("Icon=")) {
            putIcon();
            return;
        }
        out_ += line;
        if (line.back() != '\n') out_ += '\n';
    }

    void putIcon() {
        if (done_) return;
        out_ += iconLine_;
        done_ = true;
    }

    std::string iconLine_;
    std::string out_;
    bool inEntry_ = false;
    bool done_ = false;
};

void writeDirectoryFile(FileSystem& fs, const std::string& folder, std::string_view icon) {
    const std::string path = joinPath(folder, ".directory");
    std::string old;
    if (!fs.fileExists(path) || fs.readTextFile(path, old).failed()) old.clear();
    (void)fs.writeFileAtomic(path, DirectoryFileEditor(icon).apply(old));
}

// Every step is tried whatever the previous one gave: a protected
// Desktop.ini keeps its content, yet the attributes are set all the same.
void markFolder(FileSystem& fs, const std::string& folder, std::string_view iconIndex,
                std::string_view iconName) {
    if (!fs.folderExists(folder)) return;
    const std::string ini = joinPath(folder, "Desktop.ini");
    (void)fs.writeTextFile(ini, desktopIni(iconIndex));
    (void)fs.setAttributes(ini, kIniAttributes);
    (void)fs.setAttributes(folder, kMarkedFolder);
    writeDirectoryFile(fs, folder, iconName);
}

}  // namespace

void markDriveFolder(FileSystem& fs, const std::string& folder) {
    markFolder(fs, folder, kDriveIconIndex, kDriveIconName);
}

void markDustbinFolder(FileSystem& fs, const std::string& folder) {
    markFolder(fs, folder, kDustbinIconIndex, kDustbinIconName);
}

void clearFolderMark(FileSystem& fs, const std::string& folder) {
    (void)fs.setAttributes(folder, kAttrDirectory);
}

}  // namespace zv
