#include "icon_file.h"

#include <QBuffer>
#include <QtEndian>

namespace quendril::app {

namespace {

// Sides from this size on are stored as PNG, as Windows' own icons are.
constexpr int kPngFromSide = 256;

void append16(QByteArray &bytes, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
}

void append32(QByteArray &bytes, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A bitmap entry: the header, the colour rows bottom-up as BGRA, then the
// transparency mask (unused beside the alpha channel, so all zero).
QByteArray bitmap(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int side = image.width();
    const int maskRowBytes = ((side + 31) / 32) * 4;
    QByteArray bytes;
    append32(bytes, 40); // BITMAPINFOHEADER
    append32(bytes, quint32(side));
    append32(bytes, quint32(2 * side)); // the colour rows and the mask's
    append16(bytes, 1);
    append16(bytes, 32);
    append32(bytes, 0); // BI_RGB
    append32(bytes, quint32(side * side * 4 + side * maskRowBytes));
    for (int i = 0; i < 4; ++i)
        append32(bytes, 0);
    for (int y = side - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < side; ++x)
            append32(bytes, row[x]); // 0xAARRGGBB is B, G, R, A in little-endian order
    }
    bytes.append(QByteArray(side * maskRowBytes, '\0'));
    return bytes;
}

} // namespace

QByteArray iconFile(const QList<QImage> &images)
{
    QList<QByteArray> entries;
    for (const QImage &image : images)
        entries.append(image.width() >= kPngFromSide ? png(image) : bitmap(image));

    QByteArray file;
    append16(file, 0);
    append16(file, 1); // an icon, not a cursor
    append16(file, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int side = images[i].width();
        file.append(char(side >= 256 ? 0 : side)); // 0 stands for 256
        file.append(char(side >= 256 ? 0 : side));
        file.append('\0'); // no palette
        file.append('\0');
        append16(file, 1); // planes
        append16(file, 32); // bits per pixel
        append32(file, quint32(entries[i].size()));
        append32(file, offset);
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &entry : entries)
        file.append(entry);
    return file;
}

} // namespace quendril::app
