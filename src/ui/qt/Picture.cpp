#include "ui/qt/Picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace zv::qt {

Picture::Picture(const QString& resource, int sizeInLines, QWidget* parent)
    : QWidget(parent), picture_(resource), sizeInLines_(sizeInLines) {
    picture_.setAspectRatioMode(Qt::KeepAspectRatio);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Picture::setCross(bool shown) {
    if (cross_ == shown) return;
    cross_ = shown;
    update();
}

QSize Picture::sizeHint() const {
    const int side = fontMetrics().height() * sizeInLines_;
    return {side, side};
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    picture_.render(&painter, area);
    if (cross_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xc6, 0x28, 0x28), std::max(2.0, width() / 14.0), Qt::SolidLine,
                            Qt::RoundCap));
        painter.drawLine(area.topLeft(), area.bottomRight());
        painter.drawLine(area.topRight(), area.bottomLeft());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void Picture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    event->accept();
}

void Picture::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    event->accept();
}

void Picture::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        emit clicked();
        emit doubleClicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zv::qt

namespace zv::qt {

QIcon iconFromPicture(const QString& resource) {
    QSvgRenderer picture(resource);
    picture.setAspectRatioMode(Qt::KeepAspectRatio);
    QIcon icon;
    if (!picture.isValid()) return icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.render(&painter, QRectF(0, 0, side, side));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace zv::qt
