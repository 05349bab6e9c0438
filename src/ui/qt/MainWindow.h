#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "ui/qt/HelpWindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace zv {
class AppWindow;
}

namespace zv::qt {

class ArrowBox;
class ElidedLabel;
class FolderPicker;
class HelpWindow;
class InputBox;
class Picture;

// The main window on the screen. It shows the presentation model of a
// AppWindow and hands every user event to the model's handler of that
// name; it holds no behaviour of its own.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(AppWindow& window, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings every widget up to date with the model.
    void mirror();
    // Runs one model handler, then mirrors; a close the model asked for is
    // carried out once no handler is running any more.
    void runHandler(const std::function<void()>& handler);
    // Opens the help page.
    void showHelp();

    AppWindow& model() { return w_; }

    // The widgets, for tests and screenshots.
    InputBox* pathBox(int index) const { return index == 0 ? source_ : backup_; }
    InputBox* dateBox() const { return fromDateBox_; }
    QLineEdit* hideBox() const { return dateCover_; }
    QCheckBox* dateCheck() const { return dateFilterBox_; }
    ArrowBox* frame1() const { return verifyArrow_; }
    ArrowBox* frame2() const { return syncArrow_; }
    Picture* picture(const char* name) const;
    QPushButton* goButton() const { return goButton_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* exitButton() const { return exitButton_; }
    QPushButton* attributesButton() const { return attributesButton_; }
    ElidedLabel* fileLabel() const { return currentFileLabel_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusPanel(int number) const {
        return panels_.at(static_cast<std::size_t>(number - 1));
    }
    FolderPicker* picker() const { return picker_; }
    HelpWindow* helpWindow() const { return help_; }

  signals:
    // The window has closed for good; the program may end.
    void finished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void buildLayout();
    void connectEvents();
    void connectPathBox(InputBox* box, int index);
    void mirrorControls();
    void mirrorModeDisplay();
    void mirrorStatus();
    void mirrorPicker();
    void mirrorWindow();
    void applyFocus();
    void placePicker();
    // Events that could change the job are not taken while a run goes on.
    void runUnlessRunning(const std::function<void()>& handler);
    void finishClose();

    AppWindow& w_;
    int depth_ = 0;
    bool closing_ = false;
    bool pickerShown_ = false;

    QLabel* sourceLabel_ = nullptr;
    QLabel* fromDateLabel_ = nullptr;
    QLabel* backupLabel_ = nullptr;
    InputBox* source_ = nullptr;
    InputBox* backup_ = nullptr;
    QCheckBox* dateFilterBox_ = nullptr;
    InputBox* fromDateBox_ = nullptr;
    QLineEdit* dateCover_ = nullptr;
    ArrowBox* verifyArrow_ = nullptr;
    ArrowBox* syncArrow_ = nullptr;
    Picture* syncPicture_ = nullptr;
    Picture* noSyncPicture_ = nullptr;
    Picture* syncDustbinPicture_ = nullptr;
    Picture* noCheckPicture_ = nullptr;
    Picture* dustbinPicture_ = nullptr;
    QPushButton* goButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* attributesButton_ = nullptr;
    ElidedLabel* currentFileLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<QLabel*, 3> panels_{};
    FolderPicker* picker_ = nullptr;
    QPointer<HelpWindow> help_;
};

}  // namespace zv::qt
