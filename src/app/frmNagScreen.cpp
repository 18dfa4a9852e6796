#include "frmNagScreen.h"

#include "app_icon.h"
#include "cobrand.h"
#include "platform/platform.h"
#include "site/update_reminder.h"
#include "windows/frmMain.h"
#include "windows/window_host.h"

#include <QLabel>

frmNagScreen::frmNagScreen(WindowHost &host, const quendril::settings::SettingsStore &settings)
    : m_host(host)
    , m_settings(settings)
    , m_icon(quendril::makeApplicationIcon())
{
}

void frmNagScreen::Form_Load()
{
    Platform &platform = m_host.platform();
    if (platform.otherCopyRunning()) {
        platform.showMessage(QStringLiteral("Application is already running"), Platform::MessageIcon::Information);
        m_host.EndApplication();
        return;
    }
    platform.seedRandom();
    quendril::RemindToCheckForUpdate(platform, m_settings, m_host.links());
    m_host.mainWindow().show();
    m_host.hideStartupWindow();
    CoBrand_Randomize();
}

void frmNagScreen::CoBrand_Randomize()
{
    intCoBrandRandomNumber = quendril::coBrandNumber(m_host.platform().randomFraction());
    frmMain &main = m_host.mainWindow();
    switch (quendril::offerInFront(intCoBrandRandomNumber)) {
    case quendril::OfferInFront::CoBrand:
        main.lblCobrand()->raise();
        break;
    case quendril::OfferInFront::FullyBranded:
        main.lblFullBrand()->raise();
        break;
    case quendril::OfferInFront::AsDesigned:
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
    m_host.EndApplication();
}
