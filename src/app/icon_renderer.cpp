// Build tool: renders the application icon's SVG file into a square image of
// the given side, drawn the way Qt's SVG icon engine draws it. An output name
// ending in ".rgba" gets raw premultiplied RGBA (one byte a channel, row after
// row), which the program shows without decoding anything; any other name gets
// an image file in the format its suffix names, for the icon theme; a name
// ending in ".ico" gets a Windows icon file of several sides (SIDE then lists
// them, separated by commas: 16,32,256).
// Drawing into an image needs no application object and no display.
// Usage: quendril_icon_renderer SVG-FILE SIDE OUTPUT-FILE [SIDE OUTPUT-FILE]...
#include "icon_file.h"

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

bool writeBytes(const QByteArray &bytes, const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
        const QString output = QString::fromLocal8Bit(argv[i + 1]);
        const bool iconFile = output.endsWith(QStringLiteral(".ico"));
        QList<QImage> images;
        for (const QByteArray &field : QByteArray(argv[i]).split(',')) {
            bool ok = false;
            const int side = field.toInt(&ok);
            if (!ok || side < 1 || side > (iconFile ? 256 : 1024) || (!iconFile && !images.isEmpty())) {
                std::fprintf(stderr,
                    "quendril_icon_renderer: %s is not a side from 1 to 1024, or a list of sides "
                    "from 1 to 256 for an .ico file\n",
                    argv[i]);
                return 2;
            }
            images.append(render(renderer, side));
        }
        const QImage &image = images.first();
        const bool written = iconFile                  ? writeBytes(quendril::app::iconFile(images), output)
            : output.endsWith(QStringLiteral(".rgba")) ? writeRawPixels(image, output)
                                                       : image.convertToFormat(QImage::Format_ARGB32).save(output);
        if (!written) {
            std::fprintf(stderr, "quendril_icon_renderer: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
