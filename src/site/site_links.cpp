#include "site_links.h"

#include "platform/platform.h"
#include "site_address.h"

namespace quendril::site {

void SiteLinks::OpenHelpPage() const
{
    m_platform.shellOpen(SitePageAddress(page::help));
}

void SiteLinks::OpenHomePage() const
{
    m_platform.shellOpen(SitePageAddress(page::home));
}

void SiteLinks::OpenDownloadPage() const
{
    m_platform.shellOpen(SitePageAddress(page::download));
}

void SiteLinks::OpenDonatePage() const
{
    m_platform.shellOpen(SitePageAddress(page::donate));
}

void SiteLinks::OpenFullyBrandedPage() const
{
    m_platform.shellOpen(SitePageAddress(page::fullyBranded));
}

void SiteLinks::OpenCoBrandPage() const
{
    m_platform.shellOpen(SitePageAddress(page::coBrand));
}

void SiteLinks::OpenSoftwaresPage() const
{
    m_platform.shellOpen(SitePageAddress(page::softwares));
}

} // namespace quendril::site
