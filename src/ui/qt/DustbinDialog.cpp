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

#include "app/frmVergelijker.h"
#include "ui/FocusNames.h"
#include "ui/frmDustbin.h"
#include "ui/qt/FolderPicker.h"
#include "ui/qt/InputBox.h"
#include "ui/qt/Mirror.h"
#include "ui/qt/Picture.h"
#include "ui/qt/Resources.h"

namespace zv::qt {

DustbinDialog::DustbinDialog(frmDustbin& model, QWidget* parent) : QDialog(parent), d_(model) {
    InitResources();
    setModal(true);
    build();
    connectEvents();
    mirror();
}

void DustbinDialog::build() {
    option1_ = new QRadioButton(this);
    option2_ = new QRadioButton(this);
    auto* group = new QButtonGroup(this);
    group->addButton(option1_, 1);
    group->addButton(option2_, 2);
    label1_ = new QLabel(this);
    label2_ = new QLabel(this);
    label1_->setBuddy(option1_);
    label2_->setBuddy(option2_);
    for (QLabel* label : {label1_, label2_}) label->installEventFilter(this);
    text1_ = new InputBox(this);
    text1_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    image1_ = new Picture(":/pictures/dustbin.svg", 3, this);
    image2_ = new Picture(":/pictures/emptyfolder.svg", 3, this);
    image2_->setFocusPolicy(Qt::StrongFocus);
    ok_ = new QPushButton(this);
    exit_ = new QPushButton(this);
    ok_->setDefault(true);
    picker_ = new FolderPicker(this);
    picker_->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{option1_, option2_, text1_, ok_})
        KeepPlaceWhenHidden(widget);

    auto* box = new QFrame(this);  // the rectangle round the content
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* grid = new QGridLayout(box);
    grid->addWidget(image1_, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(option1_, 0, 1);
    grid->addWidget(label1_, 0, 2);
    grid->addWidget(option2_, 1, 1);
    grid->addWidget(label2_, 1, 2);
    grid->addWidget(text1_, 2, 1, 1, 3);
    grid->addWidget(image2_, 0, 4, 2, 1, Qt::AlignTop | Qt::AlignRight);
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

    setTabOrder(option1_, option2_);
    setTabOrder(option2_, text1_);
    setTabOrder(text1_, image2_);
    setTabOrder(image2_, ok_);
    setTabOrder(ok_, exit_);
}

void DustbinDialog::connectEvents() {
    connect(option1_, &QRadioButton::clicked, this,
            [this] { run([this] { d_.optPrullenbak_Click(1); }); });
    connect(option2_, &QRadioButton::clicked, this,
            [this] { run([this] { d_.optPrullenbak_Click(2); }); });
    connect(image2_, &Picture::clicked, this, [this] { run([this] { d_.Image2_Click(); }); });
    connect(text1_, &QLineEdit::textEdited, this,
            [this](const QString& text) { d_.Text1.text = text.toStdString(); });
    connect(text1_, &InputBox::doubleClicked, this,
            [this] { run([this] { d_.Text1_DblClick(); }); });
    connect(ok_, &QPushButton::clicked, this, [this] { run([this] { d_.cmdOK_Click(); }); });
    connect(exit_, &QPushButton::clicked, this,
            [this] { run([this] { d_.cmdAnnuleren_Click(); }); });
    connect(picker_, &FolderPicker::selectionChanged, this,
            [this](const QString& folder) { d_.pickerFolder = folder.toStdString(); });
    connect(picker_, &FolderPicker::choiceEnded, this,
            [this] { run([this] { d_.FolderTreeview1_ChoiceEnded(); }); });
    connect(picker_, &FolderPicker::choiceCancelled, this,
            [this] { run([this] { d_.FolderTreeview1_ChoiceCancelled(); }); });
}

// A click on an option's label chooses the option.
bool DustbinDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        QRadioButton* option = watched == label1_   ? option1_
                               : watched == label2_ ? option2_
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
    d_.cmdAnnuleren_Click();
    QDialog::reject();
}

void DustbinDialog::mirror() {
    const QString title = QString::fromStdString(d_.caption);
    if (windowTitle() != title) setWindowTitle(title);
    for (int i : {1, 2}) {
        QRadioButton* button = option(i);
        const ControlState& state = d_.optPrullenbak[static_cast<std::size_t>(i)];
        MirrorCommon(button, state);
        if (button->isChecked() != (state.value == 1)) {
            const QSignalBlocker blocker(button);
            button->group()->setExclusive(false);
            button->setChecked(state.value == 1);
            button->group()->setExclusive(true);
        }
    }
    MirrorLabel(label1_, d_.lblOptWindowsPrullenbak, 'W');
    MirrorLabel(label2_, d_.lblOptCustomPrullenbak, 'G');
    MirrorTextBox(text1_, d_.Text1);
    MirrorCommon(image2_, d_.Image2);
    image2_->setCross(d_.Line5.visible && d_.Line6.visible);
    MirrorButton(ok_, d_.cmdOK, 'O');
    MirrorButton(exit_, d_.cmdAnnuleren, 'x');
    const bool shown = d_.FolderTreeview1.visible;
    if (shown && !pickerShown_) {
        const frmVergelijker& main = d_.Main;
        picker_->setPlaces(QString::fromStdString(main.DesktopName),
                           QString::fromStdString(main.DesktopPath),
                           QString::fromStdString(main.ComputerName));
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
    if (d_.focus == kFocusDustbinPath && text1_->isVisible())
        text1_->setFocus(Qt::OtherFocusReason);
    d_.focus.clear();
}

}  // namespace zv::qt
