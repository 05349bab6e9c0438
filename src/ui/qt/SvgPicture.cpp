#include "ui/qt/SvgPicture.h"

#include <QColor>
#include <QFile>
#include <QPainter>
#include <QStringList>
#include <QXmlStreamReader>

namespace zv::qt {

namespace {

struct Style {
    QString fill = "#000000";
    QString stroke = "none";
    double strokeWidth = 1.0;
    QString lineCap = "butt";
    QString lineJoin = "miter";
};

// Reads the numbers of an attribute such as points="1,2 3,4" or a viewBox.
std::vector<double> Numbers(const QString& text) {
    std::vector<double> values;
    QString cleaned = text;
    cleaned.replace(',', ' ');
    for (const QString& piece : cleaned.split(' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = piece.toDouble(&ok);
        if (ok) values.push_back(v);
    }
    return values;
}

// Splits path data into command letters and numbers.
class PathTokens {
  public:
    explicit PathTokens(const QString& data) : data_(data) {}

    bool atEnd() {
        skipSeparators();
        return pos_ >= data_.size();
    }
    bool nextIsCommand() {
        skipSeparators();
        return pos_ < data_.size() && data_[pos_].isLetter() && data_[pos_] != 'e' &&
               data_[pos_] != 'E';
    }
    QChar command() { return data_[pos_++]; }
    bool number(double& out) {
        skipSeparators();
        const qsizetype start = pos_;
        if (pos_ < data_.size() && (data_[pos_] == '-' || data_[pos_] == '+')) ++pos_;
        bool dot = false;
        while (pos_ < data_.size() && (data_[pos_].isDigit() || (data_[pos_] == '.' && !dot))) {
            dot = dot || data_[pos_] == '.';
            ++pos_;
        }
        if (pos_ < data_.size() && (data_[pos_] == 'e' || data_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < data_.size() && (data_[pos_] == '-' || data_[pos_] == '+')) ++pos_;
            while (pos_ < data_.size() && data_[pos_].isDigit()) ++pos_;
        }
        bool ok = false;
        out = data_.mid(start, pos_ - start).toDouble(&ok);
        return ok;
    }

  private:
    void skipSeparators() {
        while (pos_ < data_.size() && (data_[pos_].isSpace() || data_[pos_] == ',')) ++pos_;
    }
    QString data_;
    qsizetype pos_ = 0;
};

bool ReadPoint(PathTokens& tokens, bool relative, const QPointF& current, QPointF& out) {
    double x = 0, y = 0;
    if (!tokens.number(x) || !tokens.number(y)) return false;
    out = relative ? current + QPointF(x, y) : QPointF(x, y);
    return true;
}

// Runs one command (and its implicit repetitions) of path data.
bool RunCommand(QChar command, PathTokens& tokens, QPainterPath& path) {
    const bool relative = command.isLower();
    const char kind = command.toUpper().toLatin1();
    if (kind == 'Z') {
        path.closeSubpath();
        return true;
    }
    bool first = true;
    do {
        const QPointF current = path.currentPosition();
        QPointF p1, p2, p3;
        double v = 0;
        switch (kind) {
            case 'M':
                if (!ReadPoint(tokens, relative, current, p1)) return false;
                if (first)
                    path.moveTo(p1);
                else
                    path.lineTo(p1);
                break;
            case 'L':
                if (!ReadPoint(tokens, relative, current, p1)) return false;
                path.lineTo(p1);
                break;
            case 'H':
                if (!tokens.number(v)) return false;
                path.lineTo(relative ? current.x() + v : v, current.y());
                break;
            case 'V':
                if (!tokens.number(v)) return false;
                path.lineTo(current.x(), relative ? current.y() + v : v);
                break;
            case 'C':
                if (!ReadPoint(tokens, relative, current, p1) ||
                    !ReadPoint(tokens, relative, current, p2) ||
                    !ReadPoint(tokens, relative, current, p3))
                    return false;
                path.cubicTo(p1, p2, p3);
                break;
            case 'Q':
                if (!ReadPoint(tokens, relative, current, p1) ||
                    !ReadPoint(tokens, relative, current, p2))
                    return false;
                path.quadTo(p1, p2);
                break;
            default:
                return false;
        }
        first = false;
    } while (!tokens.atEnd() && !tokens.nextIsCommand());
    return true;
}

QColor ColourOf(const QString& text) {
    if (text.isEmpty() || text == "none") return Qt::transparent;
    QColor colour = QColor::fromString(text);
    return colour.isValid() ? colour : QColor(Qt::black);
}

Style StyleFor(const QXmlStreamAttributes& attributes, Style style) {
    if (attributes.hasAttribute("fill")) style.fill = attributes.value("fill").toString();
    if (attributes.hasAttribute("stroke")) style.stroke = attributes.value("stroke").toString();
    if (attributes.hasAttribute("stroke-width"))
        style.strokeWidth = attributes.value("stroke-width").toDouble();
    if (attributes.hasAttribute("stroke-linecap"))
        style.lineCap = attributes.value("stroke-linecap").toString();
    if (attributes.hasAttribute("stroke-linejoin"))
        style.lineJoin = attributes.value("stroke-linejoin").toString();
    return style;
}

QPen PenFor(const Style& style) {
    const QColor colour = ColourOf(style.stroke);
    if (colour.alpha() == 0 || style.strokeWidth <= 0) return Qt::NoPen;
    QPen pen(colour, style.strokeWidth);
    pen.setCapStyle(style.lineCap == "round"    ? Qt::RoundCap
                    : style.lineCap == "square" ? Qt::SquareCap
                                                : Qt::FlatCap);
    pen.setJoinStyle(style.lineJoin == "round"   ? Qt::RoundJoin
                     : style.lineJoin == "bevel" ? Qt::BevelJoin
                                                 : Qt::MiterJoin);
    return pen;
}

double Attr(const QXmlStreamAttributes& attributes, const char* name) {
    return attributes.value(name).toDouble();
}

QPainterPath PolyPath(const QString& points, bool closed) {
    const std::vector<double> v = Numbers(points);
    QPainterPath path;
    for (std::size_t i = 0; i + 1 < v.size(); i += 2) {
        if (i == 0)
            path.moveTo(v[0], v[1]);
        else
            path.lineTo(v[i], v[i + 1]);
    }
    if (closed) path.closeSubpath();
    return path;
}

// The outline of one drawing element; empty for elements that draw nothing.
QPainterPath ShapePath(const QStringView name, const QXmlStreamAttributes& a) {
    QPainterPath path;
    if (name == u"path") {
        path = ParseSvgPathData(a.value("d").toString());
    } else if (name == u"rect") {
        const double rx = Attr(a, "rx");
        path.addRoundedRect(Attr(a, "x"), Attr(a, "y"), Attr(a, "width"), Attr(a, "height"), rx,
                            a.hasAttribute("ry") ? Attr(a, "ry") : rx);
    } else if (name == u"circle") {
        path.addEllipse(QPointF(Attr(a, "cx"), Attr(a, "cy")), Attr(a, "r"), Attr(a, "r"));
    } else if (name == u"ellipse") {
        path.addEllipse(QPointF(Attr(a, "cx"), Attr(a, "cy")), Attr(a, "rx"), Attr(a, "ry"));
    } else if (name == u"line") {
        path.moveTo(Attr(a, "x1"), Attr(a, "y1"));
        path.lineTo(Attr(a, "x2"), Attr(a, "y2"));
    } else if (name == u"polyline" || name == u"polygon") {
        path = PolyPath(a.value("points").toString(), name == u"polygon");
    }
    return path;
}

}  // namespace

QPainterPath ParseSvgPathData(const QString& data, bool* ok) {
    PathTokens tokens(data);
    QPainterPath path;
    bool good = true;
    while (good && !tokens.atEnd()) {
        good = tokens.nextIsCommand() && RunCommand(tokens.command(), tokens, path);
    }
    if (ok) *ok = good;
    return good ? path : QPainterPath();
}

bool SvgPicture::load(const QByteArray& svg) {
    shapes_.clear();
    viewBox_ = QRectF();
    QXmlStreamReader xml(svg);
    std::vector<Style> styles{Style{}};
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (styles.size() > 1) styles.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const Style style = StyleFor(attributes, styles.back());
        styles.push_back(style);
        if (xml.name() == u"svg") {
            const std::vector<double> box = Numbers(attributes.value("viewBox").toString());
            if (box.size() == 4) viewBox_ = QRectF(box[0], box[1], box[2], box[3]);
            continue;
        }
        QPainterPath path = ShapePath(xml.name(), attributes);
        if (path.isEmpty()) continue;
        const QColor fill = ColourOf(style.fill);
        const bool open = xml.name() == u"line" || xml.name() == u"polyline";
        shapes_.push_back(
            {path, PenFor(style), open || fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(fill)});
    }
    if (xml.hasError() || viewBox_.isEmpty()) shapes_.clear();
    return !shapes_.empty();
}

bool SvgPicture::loadFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return load(file.readAll());
}

void SvgPicture::render(QPainter& painter, const QRectF& target) const {
    if (isNull() || target.isEmpty()) return;
    const double scale =
        std::min(target.width() / viewBox_.width(), target.height() / viewBox_.height());
    const QSizeF size = viewBox_.size() * scale;
    const QPointF origin(target.x() + (target.width() - size.width()) / 2,
                         target.y() + (target.height() - size.height()) / 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(origin);
    painter.scale(scale, scale);
    painter.translate(-viewBox_.topLeft());
    for (const Shape& shape : shapes_) {
        painter.setPen(shape.pen);
        painter.setBrush(shape.brush);
        painter.drawPath(shape.path);
    }
    painter.restore();
}

}  // namespace zv::qt
