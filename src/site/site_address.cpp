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
    const QString host = QUrl(siteRoot()).host();
    return host.isEmpty() ? siteRoot() : host;
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
