// Build tool: renders the application icon's SVG file at the given square
// sizes, drawn the way Qt's SVG icon engine draws them, into raw pixel files
// (premultiplied RGBA, one byte a channel, row after row), so the program can
// show its first window without an SVG renderer and without decoding images.
// Usage: quendril_icon_renderer SVG-FILE OUTPUT-FOLDER SIZE...
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SVG-FILE OUTPUT-FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quendril_icon_renderer: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int side = QByteArray(argv[i]).toInt(&ok);
        if (!ok || side <= 0) {
            std::fprintf(stderr, "quendril_icon_renderer: %s is not a size\n", argv[i]);
            return 2;
        }
        QSize size = renderer.defaultSize();
        size.scale(side, side, Qt::KeepAspectRatio);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QImage pixels = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        QFile file(QStringLiteral("%1/quendril-%2.rgba").arg(folder).arg(side));
        const auto byteCount = static_cast<qint64>(pixels.sizeInBytes());
        if (!file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char *>(pixels.constBits()), byteCount) != byteCount) {
            std::fprintf(stderr, "quendril_icon_renderer: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
