#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

#include "app/AppWindow.h"
#include "ui/qt/ArrowBox.h"
#include "ui/qt/ElidedLabel.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/Picture.h"

namespace zv::qt {

void MainWindow::runHandler(const std::function<void()>& handler) {
    ++depth_;
    handler();
    --depth_;
    mirror();
    if (depth_ == 0 && w_.ui.closed) finishClose();
}

void MainWindow::runUnlessRunning(const std::function<void()>& handler) {
    if (w_.runInProgress) return;
    runHandler(handler);
}

void MainWindow::finishClose() {
    if (closing_) return;
    closing_ = true;
    close();
    emit finished();
}

// Closing sets the break flag. While a handler (a run) is still on the stack
// the window only hides; it closes for good when that handler has returned.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!w_.ui.closed) w_.closeWindow();
    if (depth_ > 0) {
        event->ignore();
        mirror();
        return;
    }
    closing_ = true;
    event->accept();
    emit finished();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const Qt::WindowStates state = windowState();
    w_.ui.state = (state & Qt::WindowMinimized)   ? WindowState::Minimised
                  : (state & Qt::WindowMaximized) ? WindowState::Maximised
                                                  : WindowState::Normal;
    runHandler([this] { w_.resized(); });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (picker_->isVisible()) placePicker();
    if (isVisible()) runHandler([this] { w_.resized(); });
}

void MainWindow::connectPathBox(InputBox* box, int index) {
    box->keyFilter = [this, index] {
        bool swallowed = true;
        runHandler([&] { swallowed = w_.pathBoxKeyPressed(index); });
        return swallowed;
    };
    connect(box, &QLineEdit::textEdited, this,
            [this, index](const QString& text) { w_.ui.pathBox(index).text = text.toStdString(); });
    connect(box, &InputBox::doubleClicked, this,
            [this, index] { runUnlessRunning([this, index] { w_.pathBoxDoubleClicked(index); }); });
}

void MainWindow::connectEvents() {
    connectPathBox(source_, 0);
    connectPathBox(backup_, 2);
    fromDateBox_->keyFilter = [this] { return w_.fromDateKeyPressed(); };
    connect(fromDateBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { w_.ui.fromDateBox.text = text.toStdString(); });
    connect(fromDateBox_, &InputBox::focusLeft, this, [this] {
        // OK runs the same check on its click and Exit ends the program; a
        // question asked on the way there would swallow that click.
        const QWidget* next = QApplication::focusWidget();
        if (next == okButton_ || next == exitButton_) return;
        if (depth_ == 0) runUnlessRunning([this] { w_.fromDateLeft(); });
    });
    connect(dateFilterBox_, &QCheckBox::clicked, this, [this] {
        runUnlessRunning([this] {
            w_.ui.dateFilterBox.value = w_.ui.dateFilterBox.value == 1 ? 0 : 1;
            w_.dateFilterClicked();
        });
    });
    connect(verifyArrow_, &ArrowBox::clicked, this,
            [this] { runUnlessRunning([this] { w_.verifyArrowClicked(); }); });
    connect(syncArrow_, &ArrowBox::clicked, this,
            [this] { runUnlessRunning([this] { w_.syncArrowClicked(); }); });
    connect(dustbinPicture_, &Picture::doubleClicked, this,
            [this] { runUnlessRunning([this] { w_.dustbinPictureDoubleClicked(); }); });
    connect(goButton_, &QPushButton::clicked, this,
            [this] { runUnlessRunning([this] { w_.goClicked(); }); });
    connect(okButton_, &QPushButton::clicked, this,
            [this] { runUnlessRunning([this] { w_.okClicked(); }); });
    connect(exitButton_, &QPushButton::clicked, this,
            [this] { runHandler([this] { w_.exitClicked(); }); });
    connect(attributesButton_, &QPushButton::clicked, this,
            [this] { runUnlessRunning([this] { w_.attributesClicked(); }); });
    connect(currentFileLabel_, &ElidedLabel::clicked, this,
            [this] { runUnlessRunning([this] { w_.currentFileClicked(); }); });
    connect(picker_, &FolderPicker::selectionChanged, this, [this](const QString& folder) {
        runHandler([this, &folder] { w_.pickerSelectionChanged(folder.toStdString()); });
    });
    connect(picker_, &FolderPicker::choiceEnded, this,
            [this] { runHandler([this] { w_.pickerChoiceEnded(); }); });
    connect(picker_, &FolderPicker::choiceCancelled, this,
            [this] { runHandler([this] { w_.pickerChoiceCancelled(); }); });
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &MainWindow::showHelp);
}

}  // namespace zv::qt
