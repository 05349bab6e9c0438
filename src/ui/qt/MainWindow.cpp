#include "ui/qt/MainWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/frmVergelijker.h"
#include "ui/qt/ArrowBox.h"
#include "ui/qt/ElidedLabel.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/HelpWindow.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Mirror.h"
#include "ui/qt/Picture.h"
#include "ui/qt/Resources.h"

namespace zv::qt {

namespace {

QLabel* PlainLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* Button(QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

MainWindow::MainWindow(frmVergelijker& window, QWidget* parent) : QWidget(parent), w_(window) {
    InitResources();
    setWindowIcon(IconFromPicture(":/pictures/sync.svg"));
    buildControls();
    buildLayout();
    connectEvents();
    const int line = fontMetrics().height();
    resize(line * 38, sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    label1_ = PlainLabel("", this);
    label3_ = PlainLabel("", this);
    label2_ = PlainLabel("", this);
    source_ = new InputBox(this);
    backup_ = new InputBox(this);
    label1_->setBuddy(source_);
    label3_->setBuddy(backup_);
    check1_ = new QCheckBox(this);
    text2_ = new InputBox(this);
    label2_->setBuddy(text2_);
    txtHide_ = new QLineEdit(this);
    txtHide_->setReadOnly(true);
    txtHide_->setFocusPolicy(Qt::NoFocus);
    frame1_ = new ArrowBox(QString(), this);
    frame2_ = new ArrowBox(QString(), this);
    imSync_ = new Picture(":/pictures/sync.svg", 3, this);
    imNoSync_ = new Picture(":/pictures/nosync.svg", 3, this);
    imSyncPlus_ = new Picture(":/pictures/syncplus.svg", 3, this);
    imNoVfy_ = new Picture(":/pictures/novfy.svg", 3, this);
    imPrullenbak_ = new Picture(":/pictures/dustbin.svg", 3, this);
    imPrullenbak_->setFocusPolicy(Qt::StrongFocus);
    cmdGo_ = Button(this);
    cmdOK_ = Button(this);
    cmdExit_ = Button(this);
    command1_ = Button(this);
    lblFiles_ = new ElidedLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Each panel is wide enough for the longest text it shows, so the window
    // cannot be made narrower than what it has to say.
    const int stretches[3] = {0, 3, 1};
    const char* longest[3] = {"Bezig af te sluiten...",
                              "Bestanden: 999999         [ Verwijderd: 999999 ]", "999 min 59 sec"};
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = PlainLabel(longest[i], statusBar_);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setMinimumWidth(panels_[i]->sizeHint().width());
        panels_[i]->clear();
        statusBar_->addWidget(panels_[i], stretches[i]);
    }
    picker_ = new FolderPicker(this);
    picker_->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             source_, backup_, text2_, txtHide_, check1_, imSync_, imNoSync_, imSyncPlus_, imNoVfy_,
             imPrullenbak_, progress_, frame1_, frame2_, cmdGo_, cmdOK_, cmdExit_, command1_,
             lblFiles_})
        KeepPlaceWhenHidden(widget);
}

void MainWindow::buildLayout() {
    auto* paths = new QGridLayout;
    paths->addWidget(label1_, 0, 0, Qt::AlignRight);
    paths->addWidget(source_, 0, 1, 1, 3);
    paths->addWidget(label3_, 1, 0, Qt::AlignRight);
    paths->addWidget(backup_, 1, 1, 1, 3);
    paths->addWidget(label2_, 2, 0, 1, 2, Qt::AlignRight);
    paths->addWidget(check1_, 2, 2);
    paths->addWidget(text2_, 2, 3);
    paths->addWidget(txtHide_, 2, 3);
    paths->setColumnStretch(3, 1);

    auto* pictures = new QGridLayout;
    for (Picture* picture : {imSync_, imNoSync_, imSyncPlus_, imNoVfy_})
        pictures->addWidget(picture, 0, 0, Qt::AlignCenter);
    auto* modes = new QHBoxLayout;
    modes->addStretch(1);
    modes->addWidget(frame1_, 0, Qt::AlignBottom);
    modes->addLayout(pictures);
    modes->addWidget(frame2_, 0, Qt::AlignBottom);
    modes->addWidget(imPrullenbak_, 0, Qt::AlignBottom);
    modes->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdGo_);
    buttons->addWidget(cmdExit_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(paths);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(modes);
    layout->addSpacing(fontMetrics().height() / 2);
    // A taller window keeps every row as it is; the space goes here.
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(lblFiles_);
    layout->addWidget(progress_);
    layout->addWidget(statusBar_);
    layout->setContentsMargins(layout->contentsMargins().left(), layout->contentsMargins().top(),
                               layout->contentsMargins().right(), 0);

    setTabOrder(source_, backup_);
    setTabOrder(backup_, check1_);
    setTabOrder(check1_, text2_);
    setTabOrder(text2_, frame1_);
    setTabOrder(frame1_, frame2_);
    setTabOrder(frame2_, imPrullenbak_);
    setTabOrder(imPrullenbak_, cmdOK_);
    setTabOrder(cmdOK_, cmdGo_);
    setTabOrder(cmdGo_, cmdExit_);
    setTabOrder(cmdExit_, command1_);
}

Picture* MainWindow::picture(const char* name) const {
    const std::string n = name;
    if (n == "imSync") return imSync_;
    if (n == "imNoSync") return imNoSync_;
    if (n == "imSyncPlus") return imSyncPlus_;
    if (n == "imNoVfy") return imNoVfy_;
    if (n == "imPrullenbak") return imPrullenbak_;
    return nullptr;
}

void MainWindow::showHelp() {
    if (!help_) help_ = new HelpWindow(QCoreApplication::applicationDirPath(), this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

}  // namespace zv::qt
