#include "app_icon.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QResource>

namespace quendril::app {

namespace {

// The build renders the SVG file at some sizes into raw premultiplied RGBA.
QImage rendering(const QSize &size)
{
    if (size.width() != size.height())
        return {};
    const QResource file(QStringLiteral(":/icons/rendered/quendril-%1.rgba").arg(size.width()));
    if (!file.isValid() || file.uncompressedSize() != qint64(size.width()) * size.height() * 4)
        return {};
    const QByteArray pixels = file.uncompressedData();
    // The converted copy no longer refers to the resource's bytes.
    return QImage(reinterpret_cast<const uchar *>(pixels.constData()), size.width(), size.height(),
        QImage::Format_RGBA8888_Premultiplied)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

class ApplicationIconEngine final : public QIconEngine {
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (mode == QIcon::Normal && state == QIcon::Off) {
            // A window hands its icon to the window system more than once.
            if (const auto kept = m_renderings.constFind(size.width()); kept != m_renderings.cend())
                return *kept;
            if (QImage image = rendering(size); !image.isNull())
                return *m_renderings.insert(size.width(), QPixmap::fromImage(std::move(image)));
        }
        return svg().pixmap(size, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (mode == QIcon::Normal && state == QIcon::Off && size.width() == size.height()
            && QResource(QStringLiteral(":/icons/rendered/quendril-%1.rgba").arg(size.width())).isValid())
            return size;
        return svg().actualSize(size, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device())
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

    QIconEngine *clone() const override { return new ApplicationIconEngine; }
    QString key() const override { return QStringLiteral("quendril"); }

private:
    // The SVG file, or where the build has no SVG support, its largest rendering.
    QIcon &svg()
    {
        if (m_svg.isNull()) {
            const QString svgFile = QStringLiteral(":/icons/quendril.svg");
            m_svg = QIcon(QFile::exists(svgFile) ? svgFile : QStringLiteral(":/icons/rendered/quendril-256.png"));
        }
        return m_svg;
    }

    QHash<int, QPixmap> m_renderings;
    QIcon m_svg;
};

} // namespace

QIcon makeApplicationIcon()
{
    return QIcon(new ApplicationIconEngine);
}

} // namespace quendril::app
