#pragma once

#include <QBrush>
#include <QByteArray>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace zv::qt {

// A small vector picture read from the subset of SVG the program's own
// pictures use: <svg viewBox>, <g>, <path> (M L H V C Q Z, absolute and
// relative), <rect>, <circle>, <ellipse>, <line>, <polyline>, <polygon>, with
// fill, stroke, stroke-width, stroke-linecap and stroke-linejoin (inherited
// from <g>). Drawn with QPainter, so it stays sharp at every scale.
class SvgPicture {
  public:
    bool load(const QByteArray& svg);
    bool loadFile(const QString& fileName);
    bool isNull() const { return shapes_.empty(); }
    QRectF viewBox() const { return viewBox_; }
    // Draws the picture scaled into `target`, keeping its proportions.
    void render(QPainter& painter, const QRectF& target) const;

    struct Shape {
        QPainterPath path;
        QPen pen;
        QBrush brush;
    };
    const std::vector<Shape>& shapes() const { return shapes_; }

  private:
    QRectF viewBox_;
    std::vector<Shape> shapes_;
};

// Reads SVG path data ("M 1 2 L 3 4 Z"); returns an empty path on bad data.
QPainterPath ParseSvgPathData(const QString& data, bool* ok = nullptr);

}  // namespace zv::qt
