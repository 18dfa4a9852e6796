#include "site_address.h"

#include "site_config.h"

#include <QUrl>

namespace quendril::site {

QString siteRoot()
{
    return QStringLiteral(QUENDRIL_SITE_ROOT);
}

QString siteHost()
{
    return hostOf(siteRoot());
}

QString hostOf(const QString &root)
{
    const QString host = QUrl(root).host();
    return host.isEmpty() ? root : host;
}

QString SiteBaseAddress()
{
    return siteRoot() + QStringLiteral("/vasq-free-quendril/");
}

QString SitePageAddress(QStringView key)
{
    return SiteBaseAddress() + QStringLiteral("ssd.php?page=") + key.toString();
}

} // namespace quendril::site
