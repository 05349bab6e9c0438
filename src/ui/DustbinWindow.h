#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/WindowModel.h"

namespace zv {

class AppWindow;

// The dustbin dialog: where the synchronisation puts what it removes from the
// backup (the desktop's trash or a folder of the user's choice), and whether
// empty folders are removed from the backup. Its result goes straight into the
// main window's public variables.
class DustbinWindow {
  public:
    explicit DustbinWindow(AppWindow& main);

    AppWindow& mainWindow;

    std::string caption = "   Prullenbak";
    bool closed = false;
    std::string focus;

    std::array<ControlState, 3> dustbinChoices;  // elements 1 and 2; value 1 = selected
    ControlState trashChoiceLabel{"Windows RECYCLER"};
    ControlState folderChoiceLabel{"Gebruik volgende map :"};
    ControlState folderBox;
    ControlState folderPicker{"", "", false};
    std::string pickerFolder;  // the folder the picker has selected
    ControlState okButton{"OK"};
    ControlState cancelButton{"Exit"};
    ControlState emptyFoldersPicture;     // empty-folder picture
    ControlState crossLine1, crossLine2;  // the cross over it
    ControlState dustbinImage;

    std::string oldDustbinPath;
    std::int16_t dustbinChoice = 0;

    void load();
    void dustbinChoiceClicked(int index);
    void emptyFoldersClicked();
    void pathBoxDoubleClicked();
    void pickerChoiceEnded();
    // The picker closed without a choice: the box comes back unchanged.
    void pickerChoiceCancelled();
    void okClicked();
    void cancelClicked();

  private:
    void showRemoveEmpty(bool killEmpty);
    // A folder path that names more than a whole drive.
    bool isFullPath(const std::string& path) const;
    void acceptFolder(const std::string& folder);
    void acceptExistingFolder(const std::string& folder);
    void offerNewFolder(const std::string& folder);
    void acceptRecycleBin(const std::string& resolved);
    void clearOldMarkUnless(const std::string& folder);
    void setPickerMode(bool open);
};

}  // namespace zv
