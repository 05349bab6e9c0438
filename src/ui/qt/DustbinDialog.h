#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zv {
class frmDustbin;
}

namespace zv::qt {

class FolderPicker;
class InputBox;
class Picture;

// The dustbin dialog on the screen: shows a frmDustbin and hands its events to
// the model's handlers; it closes when the model says so.
class DustbinDialog : public QDialog {
    Q_OBJECT
  public:
    DustbinDialog(frmDustbin& model, QWidget* parent = nullptr);

    void mirror();

    QRadioButton* option(int index) const { return index == 1 ? option1_ : option2_; }
    QLabel* optionLabel(int index) const { return index == 1 ? label1_ : label2_; }
    InputBox* pathBox() const { return text1_; }
    Picture* emptyFolderPicture() const { return image2_; }
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

    frmDustbin& d_;
    bool pickerShown_ = false;
    QSize sizeWithoutPicker_;  // the dialog's size before the picker made it grow
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    InputBox* text1_ = nullptr;
    Picture* image1_ = nullptr;
    Picture* image2_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* exit_ = nullptr;
    FolderPicker* picker_ = nullptr;
};

}  // namespace zv::qt
