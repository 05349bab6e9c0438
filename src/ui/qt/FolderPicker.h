#pragma once

#include <QIdentityProxyModel>
#include <QString>
#include <QWidget>

class QFileSystemModel;
class QToolButton;
class QTreeView;

namespace zv::qt {

// The file-system tree with its root shown as the computer.
class PlacesModel : public QIdentityProxyModel {
    Q_OBJECT
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QString computerName;
    QVariant data(const QModelIndex& index, int role) const override;
};

// The folder picker: a lazily loaded tree of the folders of the file system,
// headed by the computer (the root), with the desktop and the computer as
// places to jump to. Double-click or Enter on a folder ends the choice with
// that folder; Escape ends it without a choice.
class FolderPicker : public QWidget {
    Q_OBJECT
  public:
    explicit FolderPicker(QWidget* parent = nullptr);

    // Names and paths of the two places.
    void setPlaces(const QString& desktopName, const QString& desktopPath,
                   const QString& computerName);
    // Shows a folder as selected without reporting it; a text that is no
    // folder selects its nearest existing parent, or nothing.
    void showFolder(const QString& path);
    QString currentFolder() const;
    QTreeView* tree() const { return tree_; }
    QToolButton* desktopButton() const { return desktopButton_; }
    QToolButton* computerButton() const { return computerButton_; }

  signals:
    void selectionChanged(const QString& folder);
    void choiceEnded();
    void choiceCancelled();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onCurrentChanged(const QModelIndex& current);
    void chooseIndex(const QModelIndex& index);
    void jumpTo(const QString& path);
    void selectQuietly(const QString& folder);
    QModelIndex indexOf(const QString& path) const;

    QFileSystemModel* files_;
    PlacesModel* places_;
    QTreeView* tree_;
    QToolButton* desktopButton_;
    QToolButton* computerButton_;
    QString desktopPath_;
    QString lastReported_;
    QString pendingFolder_;  // shown once its parents have been read
    bool quiet_ = false;
};

}  // namespace zv::qt
