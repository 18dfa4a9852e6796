#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace quendril::app {

// A Windows icon file holding the given square images, each of 1 to 256
// pixels a side: the largest sizes as PNG, the rest as 32-bit bitmaps with
// alpha, which every Windows version and resource compiler reads.
QByteArray iconFile(const QList<QImage> &images);

} // namespace quendril::app
