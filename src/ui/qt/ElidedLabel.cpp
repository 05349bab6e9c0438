#include "ui/qt/ElidedLabel.h"

#include <QMouseEvent>

namespace zv::qt {

void ElidedLabel::setFullText(const QString& text) {
    if (text == full_) return;
    full_ = text;
    refresh();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 8, fontMetrics().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refresh();
}

void ElidedLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->pos())) emit clicked();
}

void ElidedLabel::refresh() {
    setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, std::max(0, contentsRect().width())));
}

}  // namespace zv::qt
