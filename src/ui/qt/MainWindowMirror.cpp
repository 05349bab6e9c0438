#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/AppWindow.h"
#include "ui/FocusNames.h"
#include "ui/qt/ArrowBox.h"
#include "ui/qt/Colours.h"
#include "ui/qt/ElidedLabel.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/Mirror.h"
#include "ui/qt/Picture.h"

namespace zv::qt {

namespace {

std::array<QColor, 3> ArrowColours(const std::array<std::uint32_t, 3>& lines,
                                   const QPalette& palette) {
    return {toQColor(lines[0], palette), toQColor(lines[1], palette), toQColor(lines[2], palette)};
}

Qt::CheckState checkStateOf(int value) {
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

}  // namespace

// Counts as a handler, so that focus moves made here report nothing back.
void MainWindow::mirror() {
    ++depth_;
    mirrorControls();
    mirrorModeDisplay();
    mirrorStatus();
    mirrorPicker();
    mirrorWindow();
    applyFocus();
    --depth_;
}

void MainWindow::mirrorControls() {
    const WindowModel& ui = w_.ui;
    mirrorLabel(sourceLabel_, ui.sourceLabel, 'V');
    mirrorLabel(backupLabel_, ui.backupLabel, 'N');
    mirrorLabel(fromDateLabel_, ui.fromDateLabel, 'd');
    mirrorTextBox(source_, ui.sourceBox);
    mirrorTextBox(backup_, ui.backupBox);
    mirrorTextBox(fromDateBox_, ui.fromDateBox);
    mirrorTextBox(dateCover_, ui.dateCover);
    for (InputBox* box : {source_, backup_, fromDateBox_})
        if (box->isReadOnly() != w_.busy) box->setReadOnly(w_.busy);
    if (dateFilterBox_->checkState() != checkStateOf(ui.dateFilterBox.value)) {
        const QSignalBlocker blocker(dateFilterBox_);
        dateFilterBox_->setTristate(ui.dateFilterBox.value == 2);
        dateFilterBox_->setCheckState(checkStateOf(ui.dateFilterBox.value));
    }
    mirrorCommon(dateFilterBox_, ui.dateFilterBox);
    mirrorButton(goButton_, ui.goButton, 'G');
    mirrorButton(okButton_, ui.okButton, 'O');
    mirrorButton(exitButton_, ui.exitButton, 'x');
    mirrorButton(attributesButton_, ui.attributesButton, 'A');
}

void MainWindow::mirrorModeDisplay() {
    const WindowModel& ui = w_.ui;
    const QString title = QString::fromStdString(ui.syncArrow.text);
    if (syncArrow_->title() != title) syncArrow_->setTitle(title);
    mirrorCommon(verifyArrow_, ui.verifyArrow);
    mirrorCommon(syncArrow_, ui.syncArrow);
    verifyArrow_->setLineColours(ArrowColours(ui.verifyArrowLines, verifyArrow_->palette()));
    syncArrow_->setLineColours(ArrowColours(ui.syncArrowLines, syncArrow_->palette()));
    mirrorCommon(syncPicture_, ui.syncPicture);
    mirrorCommon(noSyncPicture_, ui.noSyncPicture);
    mirrorCommon(syncDustbinPicture_, ui.syncDustbinPicture);
    mirrorCommon(noCheckPicture_, ui.noCheckPicture);
    mirrorCommon(dustbinPicture_, ui.dustbinPicture);
}

void MainWindow::mirrorStatus() {
    const WindowModel& ui = w_.ui;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const QString text = QString::fromStdString(ui.statusPanels[i]);
        if (panels_[i]->text() != text) panels_[i]->setText(text);
    }
    currentFileLabel_->setFullText(QString::fromStdString(ui.currentFileLabel.text));
    mirrorCommon(currentFileLabel_, ui.currentFileLabel);
    QPalette palette = currentFileLabel_->palette();
    const QColor colour = toQColor(ui.currentFileLabel.foreColour, palette);
    if (palette.color(QPalette::WindowText) != colour) {
        palette.setColor(QPalette::WindowText, colour);
        currentFileLabel_->setPalette(palette);
    }
    const ProgressBarState& bar = ui.progressBar;
    if (progress_->minimum() != bar.min || progress_->maximum() != bar.max)
        progress_->setRange(bar.min, std::max(bar.min, bar.max));
    if (progress_->value() != bar.value) progress_->setValue(bar.value);
    if (progress_->isHidden() == bar.visible) progress_->setVisible(bar.visible);
}

void MainWindow::placePicker() {
    const InputBox* box = w_.editIndex == 0 ? source_ : backup_;
    const QPoint topLeft = box->geometry().topLeft();
    const int bottom = std::max(statusBar_->geometry().top(), topLeft.y() + box->height() * 8);
    picker_->setGeometry(topLeft.x(), topLeft.y(), box->width(), bottom - topLeft.y());
    picker_->raise();
}

void MainWindow::mirrorPicker() {
    const bool shown = w_.ui.folderPicker.visible;
    if (shown && !pickerShown_) {
        picker_->setPlaces(QString::fromStdString(w_.desktopName),
                           QString::fromStdString(w_.desktopPath),
                           QString::fromStdString(w_.computerName));
        picker_->showFolder(QString::fromStdString(w_.ui.pickerFolder));
        placePicker();
    }
    pickerShown_ = shown;
    if (picker_->isHidden() == shown) picker_->setVisible(shown);
}

void MainWindow::mirrorWindow() {
    const WindowModel& ui = w_.ui;
    const QString caption = QString::fromStdString(ui.caption);
    if (windowTitle() != caption) setWindowTitle(caption);
    if (closing_) return;
    if (isHidden() == ui.visible) setVisible(ui.visible);
    if (!isVisible()) return;
    const bool minimised = windowState() & Qt::WindowMinimized;
    const bool maximised = windowState() & Qt::WindowMaximized;
    if (ui.state == WindowState::Normal && (minimised || maximised)) showNormal();
    if (ui.state == WindowState::Minimised && !minimised) showMinimized();
    if (ui.state == WindowState::Maximised && !maximised) showMaximized();
}

// A focus the model asked for is given once.
void MainWindow::applyFocus() {
    std::string& focus = w_.ui.focus;
    if (focus.empty()) return;
    QWidget* target = nullptr;
    if (focus == pathBoxFocus(0)) target = source_;
    if (focus == pathBoxFocus(2)) target = backup_;
    if (focus == kFocusText2) target = fromDateBox_;
    if (focus == kFocusPicker) target = picker_;
    focus.clear();
    if (target && target->isVisible()) target->setFocus(Qt::OtherFocusReason);
}

}  // namespace zv::qt
