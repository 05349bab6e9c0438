#pragma once

#include <QColor>
#include <QGroupBox>
#include <array>

namespace zv::qt {

// A frame that holds one arrow, drawn as three lines (shaft and two head
// lines) in their own colours. It acts as a button: a mouse click, or Space or
// Enter while it has the focus, emits clicked().
class ArrowBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit ArrowBox(const QString& title, QWidget* parent = nullptr);

    void setLineColours(const std::array<QColor, 3>& colours);
    const std::array<QColor, 3>& lineColours() const { return colours_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QRectF arrowArea() const;
    std::array<QColor, 3> colours_;
    bool pressed_ = false;
};

}  // namespace zv::qt
