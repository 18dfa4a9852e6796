// Build tool: renders the application icon's SVG file into a square image of
// the given side, drawn the way Qt's SVG icon engine draws it. An output name
// ending in ".rgba" gets raw premultiplied RGBA (one byte a channel, row after
// row), which the program shows without decoding anything; any other name gets
// an image file in the format its suffix names, for the icon theme.
// Drawing into an image needs no application object and no display.
// Usage: quendril_icon_renderer SVG-FILE SIDE OUTPUT-FILE [SIDE OUTPUT-FILE]...
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

QImage render(QSvgRenderer &renderer, int side)
{
    QSize size = renderer.defaultSize();
    size.scale(side, side, Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

bool writeRawPixels(const QImage &image, const QString &fileName)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const auto byteCount = static_cast<qint64>(pixels.sizeInBytes());
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly)
        && file.write(reinterpret_cast<const char *>(pixels.constBits()), byteCount) == byteCount;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s SVG-FILE SIDE OUTPUT-FILE [SIDE OUTPUT-FILE]...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quendril_icon_renderer: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        bool ok = false;
        const int side = QByteArray(argv[i]).toInt(&ok);
        if (!ok || side < 1 || side > 1024) {
            std::fprintf(stderr, "quendril_icon_renderer: %s is not a side from 1 to 1024\n", argv[i]);
            return 2;
        }
        const QString output = QString::fromLocal8Bit(argv[i + 1]);
        const QImage image = render(renderer, side);
        const bool written = output.endsWith(QStringLiteral(".rgba"))
            ? writeRawPixels(image, output)
            : image.convertToFormat(QImage::Format_ARGB32).save(output);
        if (!written) {
            std::fprintf(stderr, "quendril_icon_renderer: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
