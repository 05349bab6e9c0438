#include "ui/qt/FolderPicker.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace zv::qt {

namespace {
const QString kRoot = QStringLiteral("/");
}

QVariant PlacesModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && !index.parent().isValid() && index.column() == 0) {
        if (role == Qt::DisplayRole && !computerName.isEmpty()) return computerName;
        if (role == Qt::DecorationRole) return QVariant::fromValue(QIcon::fromTheme("computer"));
    }
    return QIdentityProxyModel::data(index, role);
}

FolderPicker::FolderPicker(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    files_->setReadOnly(true);
    files_->setRootPath(kRoot);
    places_ = new PlacesModel(this);
    places_->setSourceModel(files_);

    desktopButton_ = new QToolButton(this);
    computerButton_ = new QToolButton(this);
    for (QToolButton* button : {desktopButton_, computerButton_}) {
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    desktopButton_->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
    computerButton_->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    connect(desktopButton_, &QToolButton::clicked, this, [this] { jumpTo(desktopPath_); });
    connect(computerButton_, &QToolButton::clicked, this, [this] { jumpTo(kRoot); });

    tree_ = new QTreeView(this);
    tree_->setModel(places_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < places_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->setExpandsOnDoubleClick(false);
    tree_->setUniformRowHeights(true);
    tree_->installEventFilter(this);
    tree_->expand(places_->index(0, 0));
    setFocusProxy(tree_);
    connect(tree_, &QTreeView::doubleClicked, this, &FolderPicker::chooseIndex);
    connect(files_, &QFileSystemModel::directoryLoaded, this, [this] {
        if (!pendingFolder_.isEmpty() && isVisible()) selectQuietly(pendingFolder_);
    });
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });

    auto* placesRow = new QHBoxLayout;
    placesRow->setContentsMargins(0, 0, 0, 0);
    placesRow->addWidget(desktopButton_);
    placesRow->addWidget(computerButton_);
    placesRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(placesRow);
    layout->addWidget(tree_);
}

void FolderPicker::setPlaces(const QString& desktopName, const QString& desktopPath,
                             const QString& computerName) {
    desktopPath_ = desktopPath;
    desktopButton_->setText(desktopName);
    desktopButton_->setVisible(!desktopPath.isEmpty() && QFileInfo(desktopPath).isDir());
    computerButton_->setText(computerName.isEmpty() ? kRoot : computerName);
    places_->computerName = computerName;
}

QModelIndex FolderPicker::indexOf(const QString& path) const {
    return places_->mapFromSource(files_->index(path));
}

QString FolderPicker::currentFolder() const {
    const QModelIndex current = tree_->currentIndex();
    if (!current.isValid()) return {};
    return files_->filePath(places_->mapToSource(current));
}

void FolderPicker::showFolder(const QString& path) {
    QString folder = path;
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        folder = (parent == folder || !QDir::isAbsolutePath(folder)) ? QString() : parent;
    }
    lastReported_ = path;
    pendingFolder_ = folder;
    tree_->expand(places_->index(0, 0));
    selectQuietly(folder);
}

// The model reads folders in the background: the folder is selected again
// as its parents arrive, until the user moves.
void FolderPicker::selectQuietly(const QString& folder) {
    quiet_ = true;
    const QModelIndex index = folder.isEmpty() ? QModelIndex() : indexOf(folder);
    tree_->setCurrentIndex(index);
    if (index.isValid()) tree_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    quiet_ = false;
}

void FolderPicker::jumpTo(const QString& path) {
    const QModelIndex index = indexOf(path);
    if (!index.isValid()) return;
    tree_->setCurrentIndex(index);
    tree_->expand(index);
    tree_->scrollTo(index, QAbstractItemView::PositionAtTop);
    tree_->setFocus(Qt::OtherFocusReason);
}

void FolderPicker::onCurrentChanged(const QModelIndex& current) {
    if (quiet_ || !current.isValid()) return;
    pendingFolder_.clear();
    const QString folder = files_->filePath(places_->mapToSource(current));
    if (folder == lastReported_) return;
    lastReported_ = folder;
    emit selectionChanged(folder);
}

void FolderPicker::chooseIndex(const QModelIndex& index) {
    if (index.isValid()) {
        lastReported_ = files_->filePath(places_->mapToSource(index));
        emit selectionChanged(lastReported_);
    }
    emit choiceEnded();
}

bool FolderPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseIndex(tree_->currentIndex());
            return true;
        }
        if (key == Qt::Key_Escape) {
            emit choiceCancelled();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zv::qt
