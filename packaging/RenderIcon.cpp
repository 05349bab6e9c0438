// Build helper: renders the program's scalable icon as PNG pictures for the
// hicolor icon theme, so the pixel sizes never drift from the SVG.
//   zv_render_icon ICON.svg OUTDIR SIZE...
// writes OUTDIR/SIZExSIZE/apps/<name of ICON>.png for each size.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool Render(QSvgRenderer& svg, int size, const QString& file) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    return QDir().mkpath(QFileInfo(file).path()) && image.save(file, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("gebruik: zv_render_icon ICOON.svg MAP GROOTTE...\n", stderr);
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer svg(source);
    if (!svg.isValid()) {
        std::fprintf(stderr, "zv_render_icon: %s is geen bruikbaar SVG-bestand\n", argv[1]);
        return 1;
    }
    const QString name = QFileInfo(source).completeBaseName() + ".png";
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        const QString file =
            QString("%1/%2x%2/apps/%3").arg(QString::fromLocal8Bit(argv[2])).arg(size).arg(name);
        if (size <= 0 || !Render(svg, size, file)) {
            std::fprintf(stderr, "zv_render_icon: %s niet geschreven\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
