#pragma once

#include <QIcon>
#include <QSvgRenderer>
#include <QWidget>

namespace zv::qt {

// A picture from the resources, drawn sharp at any scale. Reports clicks and
// double-clicks; when focusable, Space or Enter emits both (a picture has one
// action, on one of the two). It can draw a cross over itself.
class Picture : public QWidget {
    Q_OBJECT
  public:
    Picture(const QString& resource, int sizeInLines, QWidget* parent = nullptr);

    void setCross(bool shown);
    bool crossShown() const { return cross_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    bool hasPicture() const { return picture_.isValid(); }

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QSvgRenderer picture_;
    int sizeInLines_;
    bool cross_ = false;
};

}  // namespace zv::qt

namespace zv::qt {

// An icon drawn from a picture of the resources at the usual icon sizes.
QIcon iconFromPicture(const QString& resource);

}  // namespace zv::qt
