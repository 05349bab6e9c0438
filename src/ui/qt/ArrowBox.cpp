#include "ui/qt/ArrowBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zv::qt {

ArrowBox::ArrowBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    colours_.fill(palette().color(QPalette::Shadow));
}

void ArrowBox::setLineColours(const std::array<QColor, 3>& colours) {
    if (colours == colours_) return;
    colours_ = colours;
    update();
}

QSize ArrowBox::sizeHint() const {
    const int unit = fontMetrics().height();
    const int titleWidth = title().isEmpty() ? 0 : fontMetrics().horizontalAdvance(title()) + unit;
    return {std::max(unit * 6, titleWidth), unit * 3 + (title().isEmpty() ? 0 : unit)};
}

QRectF ArrowBox::arrowArea() const {
    QRectF area = contentsRect();
    const double margin = fontMetrics().height() * 0.6;
    return area.adjusted(margin, margin / 2, -margin, -margin / 2);
}

void ArrowBox::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = arrowArea();
    const double y = area.center().y();
    const double head = std::min(area.height() / 2, area.width() / 4);
    const double width = std::max(2.0, fontMetrics().height() / 6.0);
    const QPointF tip(area.right(), y);
    const QLineF lines[3] = {QLineF(area.left(), y, tip.x(), y),
                             QLineF(tip, QPointF(tip.x() - head, y - head)),
                             QLineF(tip, QPointF(tip.x() - head, y + head))};
    for (int i = 0; i < 3; ++i) {
        painter.setPen(
            QPen(colours_[static_cast<std::size_t>(i)], width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(lines[i]);
    }
    if (hasFocus()) {
        QStylePainter stylePainter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect().adjusted(2, 2, -2, -2);
        stylePainter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void ArrowBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ArrowBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    event->accept();
    if (click && isEnabled()) emit clicked();
}

// Taken before the group box, which keeps Space for its own check box.
bool ArrowBox::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            if (isEnabled()) emit clicked();
            return true;
        }
    }
    return QGroupBox::event(event);
}

}  // namespace zv::qt
