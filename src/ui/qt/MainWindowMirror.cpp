#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/frmVergelijker.h"
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
    return {ToQColor(lines[0], palette), ToQColor(lines[1], palette), ToQColor(lines[2], palette)};
}

Qt::CheckState CheckStateOf(int value) {
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
    MirrorLabel(label1_, ui.Label1, 'V');
    MirrorLabel(label3_, ui.Label3, 'N');
    MirrorLabel(label2_, ui.Label2, 'd');
    MirrorTextBox(source_, ui.Text1[0]);
    MirrorTextBox(backup_, ui.Text1[2]);
    MirrorTextBox(text2_, ui.text2);
    MirrorTextBox(txtHide_, ui.txtHide);
    for (InputBox* box : {source_, backup_, text2_})
        if (box->isReadOnly() != w_.Busy) box->setReadOnly(w_.Busy);
    if (check1_->checkState() != CheckStateOf(ui.Check1.value)) {
        const QSignalBlocker blocker(check1_);
        check1_->setTristate(ui.Check1.value == 2);
        check1_->setCheckState(CheckStateOf(ui.Check1.value));
    }
    MirrorCommon(check1_, ui.Check1);
    MirrorButton(cmdGo_, ui.cmdGo, 'G');
    MirrorButton(cmdOK_, ui.cmdOK, 'O');
    MirrorButton(cmdExit_, ui.cmdExit, 'x');
    MirrorButton(command1_, ui.Command1, 'A');
}

void MainWindow::mirrorModeDisplay() {
    const WindowModel& ui = w_.ui;
    const QString title = QString::fromStdString(ui.Frame2.text);
    if (frame2_->title() != title) frame2_->setTitle(title);
    MirrorCommon(frame1_, ui.Frame1);
    MirrorCommon(frame2_, ui.Frame2);
    frame1_->setLineColours(ArrowColours(ui.Pijl1, frame1_->palette()));
    frame2_->setLineColours(ArrowColours(ui.Pijl2, frame2_->palette()));
    MirrorCommon(imSync_, ui.imSync);
    MirrorCommon(imNoSync_, ui.imNoSync);
    MirrorCommon(imSyncPlus_, ui.imSyncPlus);
    MirrorCommon(imNoVfy_, ui.imNoVfy);
    MirrorCommon(imPrullenbak_, ui.imPrullenbak);
}

void MainWindow::mirrorStatus() {
    const WindowModel& ui = w_.ui;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const QString text = QString::fromStdString(ui.sbPanels[i]);
        if (panels_[i]->text() != text) panels_[i]->setText(text);
    }
    lblFiles_->setFullText(QString::fromStdString(ui.lblFiles.text));
    MirrorCommon(lblFiles_, ui.lblFiles);
    QPalette palette = lblFiles_->palette();
    const QColor colour = ToQColor(ui.lblFiles.foreColour, palette);
    if (palette.color(QPalette::WindowText) != colour) {
        palette.setColor(QPalette::WindowText, colour);
        lblFiles_->setPalette(palette);
    }
    const ProgressBarState& bar = ui.ProgressBar1;
    if (progress_->minimum() != bar.min || progress_->maximum() != bar.max)
        progress_->setRange(bar.min, std::max(bar.min, bar.max));
    if (progress_->value() != bar.value) progress_->setValue(bar.value);
    if (progress_->isHidden() == bar.visible) progress_->setVisible(bar.visible);
}

void MainWindow::placePicker() {
    const InputBox* box = w_.EditIndex == 0 ? source_ : backup_;
    const QPoint topLeft = box->geometry().topLeft();
    const int bottom = std::max(statusBar_->geometry().top(), topLeft.y() + box->height() * 8);
    picker_->setGeometry(topLeft.x(), topLeft.y(), box->width(), bottom - topLeft.y());
    picker_->raise();
}

void MainWindow::mirrorPicker() {
    const bool shown = w_.ui.FolderTreeview1.visible;
    if (shown && !pickerShown_) {
        picker_->setPlaces(QString::fromStdString(w_.DesktopName),
                           QString::fromStdString(w_.DesktopPath),
                           QString::fromStdString(w_.ComputerName));
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
    if (focus == PathBoxFocus(0)) target = source_;
    if (focus == PathBoxFocus(2)) target = backup_;
    if (focus == kFocusText2) target = text2_;
    if (focus == kFocusPicker) target = picker_;
    focus.clear();
    if (target && target->isVisible()) target->setFocus(Qt::OtherFocusReason);
}

}  // namespace zv::qt
