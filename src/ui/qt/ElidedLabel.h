#pragma once

#include <QLabel>

namespace zv::qt {

// A one-line label that shortens a long text in the middle instead of
// growing the window, and reports clicks.
class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }
    QSize minimumSizeHint() const override;

  signals:
    void clicked();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void refresh();
    QString full_;
};

}  // namespace zv::qt
