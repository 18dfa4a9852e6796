#include "frmNagScreen.h"

#include "app_icon.h"
#include "cobrand.h"
#include "platform/platform.h"
#include "site/update_reminder.h"
#include "windows/frmMain.h"
#include "windows/window_host.h"

#include <QLabel>

namespace quendril::app {

frmNagScreen::frmNagScreen(windows::WindowHost &host, const settings::SettingsStore &settings)
    : m_host(host)
    , m_settings(settings)
    , m_icon(makeApplicationIcon())
{
}

void frmNagScreen::Form_Load()
{
    // The other-copy test comes first, so that a refused copy shows its message
    // and nothing else; the update reminder's question comes before any window.
    platform::Platform &platform = m_host.platform();
    if (platform.otherCopyRunning()) {
        platform.showMessage(
            nullptr, QStringLiteral("Application is already running"), platform::Platform::MessageIcon::Information);
        m_host.EndApplication();
        return;
    }
    platform.seedRandom();
    site::RemindToCheckForUpdate(platform, m_settings, m_host.links());
    m_host.mainWindow().show();
    CoBrand_Randomize();
}

void frmNagScreen::CoBrand_Randomize()
{
    intCoBrandRandomNumber = coBrandNumber(m_host.platform().randomFraction());
    windows::frmMain &main = m_host.mainWindow();
    switch (offerInFront(intCoBrandRandomNumber)) {
    case OfferInFront::CoBrand:
        main.lblCobrand()->raise();
        break;
    case OfferInFront::FullyBranded:
        main.lblFullBrand()->raise();
        break;
    case OfferInFront::DesignerOrder:
        break;
    }
}

void frmNagScreen::close()
{
    if (m_closing)
        return;
    m_closing = true;
    Form_Unload();
}

void frmNagScreen::Form_Unload()
{
    // EndApplication closes this window last and is entered again here; that
    // pass finds this window closing and ends the process.
    m_host.EndApplication();
}

} // namespace quendril::app
