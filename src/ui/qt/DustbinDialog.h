#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zv {
class DustbinWindow;
}

namespace zv::qt {

class FolderPicker;
class InputBox;
class Picture;

// The dustbin dialog on the screen: shows a DustbinWindow and hands its events to
// the model's handlers; it closes when the model says so.
class DustbinDialog : public QDialog {
    Q_OBJECT
  public:
    DustbinDialog(DustbinWindow& model, QWidget* parent = nullptr);

    void mirror();

    QRadioButton* option(int index) const { return index == 1 ? trashChoice_ : folderChoice_; }
    QLabel* optionLabel(int index) const { return index == 1 ? sourceLabel_ : fromDateLabel_; }
    InputBox* pathBox() const { return pathBox_; }
    Picture* emptyFolderPicture() const { return emptyFoldersPicture_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* exitButton() const { return exit_; }
    FolderPicker* picker() const { return picker_; }

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void connectEvents();
    void run(const std::function<void()>& handler);

    DustbinWindow& d_;
    bool pickerShown_ = false;
    QSize sizeWithoutPicker_;  // the dialog's size before the picker made it grow
    QRadioButton* trashChoice_ = nullptr;
    QRadioButton* folderChoice_ = nullptr;
    QLabel* sourceLabel_ = nullptr;
    QLabel* fromDateLabel_ = nullptr;
    InputBox* pathBox_ = nullptr;
    Picture* dustbinImage_ = nullptr;
    Picture* emptyFoldersPicture_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* exit_ = nullptr;
    FolderPicker* picker_ = nullptr;
};

}  // namespace zv::qt
