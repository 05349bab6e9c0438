#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/WindowModel.h"

namespace zv {

class frmVergelijker;

// The dustbin dialog: where the synchronisation puts what it removes from the
// backup (the desktop's trash or a folder of the user's choice), and whether
// empty folders are removed from the backup. Its result goes straight into the
// main window's public variables.
class frmDustbin {
  public:
    explicit frmDustbin(frmVergelijker& main);

    frmVergelijker& Main;

    std::string caption = "   Prullenbak";
    bool closed = false;
    std::string focus;

    std::array<ControlState, 3> optPrullenbak;  // elements 1 and 2; value 1 = selected
    ControlState lblOptWindowsPrullenbak{"Windows RECYCLER"};
    ControlState lblOptCustomPrullenbak{"Gebruik volgende map :"};
    ControlState Text1;
    ControlState FolderTreeview1{"", "", false};
    std::string pickerFolder;  // the folder the picker has selected
    ControlState cmdOK{"OK"};
    ControlState cmdAnnuleren{"Exit"};
    ControlState Image2;        // empty-folder picture
    ControlState Line5, Line6;  // the cross over it
    ControlState Image1;

    std::string OldDustBinPath;
    std::int16_t DustbinChoice = 0;

    void Form_Load();
    void optPrullenbak_Click(int index);
    void Image2_Click();
    void Text1_DblClick();
    void FolderTreeview1_ChoiceEnded();
    // The picker closed without a choice: the box comes back unchanged.
    void FolderTreeview1_ChoiceCancelled();
    void cmdOK_Click();
    void cmdAnnuleren_Click();

  private:
    void ShowKillEmpty(bool killEmpty);
    // A folder path that names more than a whole drive.
    bool IsFullPath(const std::string& path) const;
    void AcceptFolder(const std::string& folder);
    void AcceptExistingFolder(const std::string& folder);
    void OfferNewFolder(const std::string& folder);
    void AcceptRecycleBin(const std::string& resolved);
    void ClearOldMarkUnless(const std::string& folder);
    void SetPickerMode(bool open);
};

}  // namespace zv
