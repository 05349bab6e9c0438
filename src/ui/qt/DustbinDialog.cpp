#include "ui/qt/DustbinDialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/AppWindow.h"
#include "ui/DustbinWindow.h"
#include "ui/FocusNames.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Mirror.h"
#include "ui/qt/Picture.h"
#include "ui/qt/Resources.h"

namespace zv::qt {

DustbinDialog::DustbinDialog(DustbinWindow& model, QWidget* parent) : QDialog(parent), d_(model) {
    initResources();
    setModal(true);
    build();
    connectEvents();
    mirror();
}

void DustbinDialog::build() {
    trashChoice_ = new QRadioButton(this);
    folderChoice_ = new QRadioButton(this);
    auto* group = new QButtonGroup(this);
    group->addButton(trashChoice_, 1);
    group->addButton(folderChoice_, 2);
    sourceLabel_ = new QLabel(this);
    fromDateLabel_ = new QLabel(this);
    sourceLabel_->setBuddy(trashChoice_);
    fromDateLabel_->setBuddy(folderChoice_);
    for (QLabel* label : {sourceLabel_, fromDateLabel_}) label->installEventFilter(this);
    pathBox_ = new InputBox(this);
    pathBox_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    dustbinImage_ = new Picture(":/pictures/dustbin.svg", 3, this);
    emptyFoldersPicture_ = new Picture(":/pictures/emptyfolder.svg", 3, this);
    emptyFoldersPicture_->setFocusPolicy(Qt::StrongFocus);
    ok_ = new QPushButton(this);
    exit_ = new QPushButton(this);
    ok_->setDefault(true);
    picker_ = new FolderPicker(this);
    picker_->hide();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{trashChoice_, folderChoice_, pathBox_, ok_})
        keepPlaceWhenHidden(widget);

    auto* box = new QFrame(this);  // the rectangle round the content
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* grid = new QGridLayout(box);
    grid->addWidget(dustbinImage_, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(trashChoice_, 0, 1);
    grid->addWidget(sourceLabel_, 0, 2);
    grid->addWidget(folderChoice_, 1, 1);
    grid->addWidget(fromDateLabel_, 1, 2);
    grid->addWidget(pathBox_, 2, 1, 1, 3);
    grid->addWidget(emptyFoldersPicture_, 0, 4, 2, 1, Qt::AlignTop | Qt::AlignRight);
    // The picker stands in for the options and the path box, inside the
    // frame; the dialog grows to give it room and shrinks back after.
    picker_->setMinimumHeight(fontMetrics().height() * 14);
    grid->addWidget(picker_, 0, 1, 3, 3);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);

    setTabOrder(trashChoice_, folderChoice_);
    setTabOrder(folderChoice_, pathBox_);
    setTabOrder(pathBox_, emptyFoldersPicture_);
    setTabOrder(emptyFoldersPicture_, ok_);
    setTabOrder(ok_, exit_);
}

void DustbinDialog::connectEvents() {
    connect(trashChoice_, &QRadioButton::clicked, this,
            [this] { run([this] { d_.dustbinChoiceClicked(1); }); });
    connect(folderChoice_, &QRadioButton::clicked, this,
            [this] { run([this] { d_.dustbinChoiceClicked(2); }); });
    connect(emptyFoldersPicture_, &Picture::clicked, this,
            [this] { run([this] { d_.emptyFoldersClicked(); }); });
    connect(pathBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { d_.folderBox.text = text.toStdString(); });
    connect(pathBox_, &InputBox::doubleClicked, this,
            [this] { run([this] { d_.pathBoxDoubleClicked(); }); });
    connect(ok_, &QPushButton::clicked, this, [this] { run([this] { d_.okClicked(); }); });
    connect(exit_, &QPushButton::clicked, this, [this] { run([this] { d_.cancelClicked(); }); });
    connect(picker_, &FolderPicker::selectionChanged, this,
            [this](const QString& folder) { d_.pickerFolder = folder.toStdString(); });
    connect(picker_, &FolderPicker::choiceEnded, this,
            [this] { run([this] { d_.pickerChoiceEnded(); }); });
    connect(picker_, &FolderPicker::choiceCancelled, this,
            [this] { run([this] { d_.pickerChoiceCancelled(); }); });
}

// A click on an option's label chooses the option.
bool DustbinDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        QRadioButton* option = watched == sourceLabel_     ? trashChoice_
                               : watched == fromDateLabel_ ? folderChoice_
                                                           : nullptr;
        if (option && option->isVisible() && option->isEnabled()) option->click();
    }
    return QDialog::eventFilter(watched, event);
}

void DustbinDialog::run(const std::function<void()>& handler) {
    handler();
    mirror();
    if (d_.closed) done(QDialog::Rejected);
}

// Escape or the close button work as the Exit button.
void DustbinDialog::reject() {
    d_.cancelClicked();
    QDialog::reject();
}

void DustbinDialog::mirror() {
    const QString title = QString::fromStdString(d_.caption);
    if (windowTitle() != title) setWindowTitle(title);
    for (int i : {1, 2}) {
        QRadioButton* button = option(i);
        const ControlState& state = d_.dustbinChoices[static_cast<std::size_t>(i)];
        mirrorCommon(button, state);
        if (button->isChecked() != (state.value == 1)) {
            const QSignalBlocker blocker(button);
            button->group()->setExclusive(false);
            button->setChecked(state.value == 1);
            button->group()->setExclusive(true);
        }
    }
    mirrorLabel(sourceLabel_, d_.trashChoiceLabel, 'W');
    mirrorLabel(fromDateLabel_, d_.folderChoiceLabel, 'G');
    mirrorTextBox(pathBox_, d_.folderBox);
    mirrorCommon(emptyFoldersPicture_, d_.emptyFoldersPicture);
    emptyFoldersPicture_->setCross(d_.crossLine1.visible && d_.crossLine2.visible);
    mirrorButton(ok_, d_.okButton, 'O');
    mirrorButton(exit_, d_.cancelButton, 'x');
    const bool shown = d_.folderPicker.visible;
    if (shown && !pickerShown_) {
        const AppWindow& main = d_.mainWindow;
        picker_->setPlaces(QString::fromStdString(main.desktopName),
                           QString::fromStdString(main.desktopPath),
                           QString::fromStdString(main.computerName));
        picker_->showFolder(QString::fromStdString(d_.pickerFolder));
        sizeWithoutPicker_ = size();
    }
    const bool closed = pickerShown_ && !shown;
    pickerShown_ = shown;
    if (picker_->isHidden() == shown) picker_->setVisible(shown);
    if (closed) {
        picker_->parentWidget()->layout()->activate();  // the frame's grid first
        layout()->activate();
        resize(sizeWithoutPicker_);
    }
    if (d_.focus == kFocusPicker) picker_->setFocus(Qt::OtherFocusReason);
    if (d_.focus == kFocusDustbinPath && pathBox_->isVisible())
        pathBox_->setFocus(Qt::OtherFocusReason);
    d_.focus.clear();
}

}  // namespace zv::qt
