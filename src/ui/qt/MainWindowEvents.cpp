#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

#include "app/frmVergelijker.h"
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
    if (w_.RunInProgress) return;
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
    if (!w_.ui.closed) w_.CloseWindow();
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
    runHandler([this] { w_.Form_Resize(); });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (picker_->isVisible()) placePicker();
    if (isVisible()) runHandler([this] { w_.Form_Resize(); });
}

void MainWindow::connectPathBox(InputBox* box, int index) {
    box->keyFilter = [this, index] {
        bool swallowed = true;
        runHandler([&] { swallowed = w_.Text1_KeyPress(index); });
        return swallowed;
    };
    connect(box, &QLineEdit::textEdited, this, [this, index](const QString& text) {
        w_.ui.Text1[static_cast<std::size_t>(index)].text = text.toStdString();
    });
    connect(box, &InputBox::doubleClicked, this,
            [this, index] { runUnlessRunning([this, index] { w_.Text1_DblClick(index); }); });
}

void MainWindow::connectEvents() {
    connectPathBox(source_, 0);
    connectPathBox(backup_, 2);
    text2_->keyFilter = [this] { return w_.text2_KeyPress(); };
    connect(text2_, &QLineEdit::textEdited, this,
            [this](const QString& text) { w_.ui.text2.text = text.toStdString(); });
    connect(text2_, &InputBox::focusLeft, this, [this] {
        // OK runs the same check on its click and Exit ends the program; a
        // question asked on the way there would swallow that click.
        const QWidget* next = QApplication::focusWidget();
        if (next == cmdOK_ || next == cmdExit_) return;
        if (depth_ == 0) runUnlessRunning([this] { w_.text2_LostFocus(); });
    });
    connect(check1_, &QCheckBox::clicked, this, [this] {
        runUnlessRunning([this] {
            w_.ui.Check1.value = w_.ui.Check1.value == 1 ? 0 : 1;
            w_.Check1_Click();
        });
    });
    connect(frame1_, &ArrowBox::clicked, this,
            [this] { runUnlessRunning([this] { w_.Frame1_Click(); }); });
    connect(frame2_, &ArrowBox::clicked, this,
            [this] { runUnlessRunning([this] { w_.Frame2_Click(); }); });
    connect(imPrullenbak_, &Picture::doubleClicked, this,
            [this] { runUnlessRunning([this] { w_.imPrullenbak_DblClick(); }); });
    connect(cmdGo_, &QPushButton::clicked, this,
            [this] { runUnlessRunning([this] { w_.cmdGo_Click(); }); });
    connect(cmdOK_, &QPushButton::clicked, this,
            [this] { runUnlessRunning([this] { w_.cmdOK_Click(); }); });
    connect(cmdExit_, &QPushButton::clicked, this,
            [this] { runHandler([this] { w_.cmdExit_Click(); }); });
    connect(command1_, &QPushButton::clicked, this,
            [this] { runUnlessRunning([this] { w_.Command1_Click(); }); });
    connect(lblFiles_, &ElidedLabel::clicked, this,
            [this] { runUnlessRunning([this] { w_.lblFiles_Click(); }); });
    connect(picker_, &FolderPicker::selectionChanged, this, [this](const QString& folder) {
        runHandler([this, &folder] { w_.FolderTreeview1_SelectionChanged(folder.toStdString()); });
    });
    connect(picker_, &FolderPicker::choiceEnded, this,
            [this] { runHandler([this] { w_.FolderTreeview1_ChoiceEnded(); }); });
    connect(picker_, &FolderPicker::choiceCancelled, this,
            [this] { runHandler([this] { w_.FolderTreeview1_ChoiceCancelled(); }); });
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &MainWindow::showHelp);
}

}  // namespace zv::qt
