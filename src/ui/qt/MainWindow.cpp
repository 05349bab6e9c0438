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

#include "app/AppWindow.h"
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

QLabel* plainLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* button(QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

MainWindow::MainWindow(AppWindow& window, QWidget* parent) : QWidget(parent), w_(window) {
    initResources();
    setWindowIcon(iconFromPicture(":/pictures/sync.svg"));
    buildControls();
    buildLayout();
    connectEvents();
    const int line = fontMetrics().height();
    resize(line * 38, sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    sourceLabel_ = plainLabel("", this);
    backupLabel_ = plainLabel("", this);
    fromDateLabel_ = plainLabel("", this);
    source_ = new InputBox(this);
    backup_ = new InputBox(this);
    sourceLabel_->setBuddy(source_);
    backupLabel_->setBuddy(backup_);
    dateFilterBox_ = new QCheckBox(this);
    fromDateBox_ = new InputBox(this);
    fromDateLabel_->setBuddy(fromDateBox_);
    dateCover_ = new QLineEdit(this);
    dateCover_->setReadOnly(true);
    dateCover_->setFocusPolicy(Qt::NoFocus);
    verifyArrow_ = new ArrowBox(QString(), this);
    syncArrow_ = new ArrowBox(QString(), this);
    syncPicture_ = new Picture(":/pictures/sync.svg", 3, this);
    noSyncPicture_ = new Picture(":/pictures/nosync.svg", 3, this);
    syncDustbinPicture_ = new Picture(":/pictures/syncplus.svg", 3, this);
    noCheckPicture_ = new Picture(":/pictures/novfy.svg", 3, this);
    dustbinPicture_ = new Picture(":/pictures/dustbin.svg", 3, this);
    dustbinPicture_->setFocusPolicy(Qt::StrongFocus);
    goButton_ = button(this);
    okButton_ = button(this);
    exitButton_ = button(this);
    attributesButton_ = button(this);
    currentFileLabel_ = new ElidedLabel(this);
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
        panels_[i] = plainLabel(longest[i], statusBar_);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setMinimumWidth(panels_[i]->sizeHint().width());
        panels_[i]->clear();
        statusBar_->addWidget(panels_[i], stretches[i]);
    }
    picker_ = new FolderPicker(this);
    picker_->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             source_, backup_, fromDateBox_, dateCover_, dateFilterBox_, syncPicture_,
             noSyncPicture_, syncDustbinPicture_, noCheckPicture_, dustbinPicture_, progress_,
             verifyArrow_, syncArrow_, goButton_, okButton_, exitButton_, attributesButton_,
             currentFileLabel_})
        keepPlaceWhenHidden(widget);
}

void MainWindow::buildLayout() {
    auto* paths = new QGridLayout;
    paths->addWidget(sourceLabel_, 0, 0, Qt::AlignRight);
    paths->addWidget(source_, 0, 1, 1, 3);
    paths->addWidget(backupLabel_, 1, 0, Qt::AlignRight);
    paths->addWidget(backup_, 1, 1, 1, 3);
    paths->addWidget(fromDateLabel_, 2, 0, 1, 2, Qt::AlignRight);
    paths->addWidget(dateFilterBox_, 2, 2);
    paths->addWidget(fromDateBox_, 2, 3);
    paths->addWidget(dateCover_, 2, 3);
    paths->setColumnStretch(3, 1);

    auto* pictures = new QGridLayout;
    for (Picture* picture : {syncPicture_, noSyncPicture_, syncDustbinPicture_, noCheckPicture_})
        pictures->addWidget(picture, 0, 0, Qt::AlignCenter);
    auto* modes = new QHBoxLayout;
    modes->addStretch(1);
    modes->addWidget(verifyArrow_, 0, Qt::AlignBottom);
    modes->addLayout(pictures);
    modes->addWidget(syncArrow_, 0, Qt::AlignBottom);
    modes->addWidget(dustbinPicture_, 0, Qt::AlignBottom);
    modes->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(attributesButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(goButton_);
    buttons->addWidget(exitButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(paths);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(modes);
    layout->addSpacing(fontMetrics().height() / 2);
    // A taller window keeps every row as it is; the space goes here.
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(currentFileLabel_);
    layout->addWidget(progress_);
    layout->addWidget(statusBar_);
    layout->setContentsMargins(layout->contentsMargins().left(), layout->contentsMargins().top(),
                               layout->contentsMargins().right(), 0);

    setTabOrder(source_, backup_);
    setTabOrder(backup_, dateFilterBox_);
    setTabOrder(dateFilterBox_, fromDateBox_);
    setTabOrder(fromDateBox_, verifyArrow_);
    setTabOrder(verifyArrow_, syncArrow_);
    setTabOrder(syncArrow_, dustbinPicture_);
    setTabOrder(dustbinPicture_, okButton_);
    setTabOrder(okButton_, goButton_);
    setTabOrder(goButton_, exitButton_);
    setTabOrder(exitButton_, attributesButton_);
}

Picture* MainWindow::picture(const char* name) const {
    const std::string n = name;
    if (n == "syncPicture") return syncPicture_;
    if (n == "noSyncPicture") return noSyncPicture_;
    if (n == "syncDustbinPicture") return syncDustbinPicture_;
    if (n == "noCheckPicture") return noCheckPicture_;
    if (n == "dustbinPicture") return dustbinPicture_;
    return nullptr;
}

void MainWindow::showHelp() {
    if (!help_) help_ = new HelpWindow(QCoreApplication::applicationDirPath(), this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

}  // namespace zv::qt
