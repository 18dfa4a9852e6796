#include "update_reminder.h"

#include "settings/settings_store.h"
#include "date_text.h"
#include "platform/platform.h"
#include "site_links.h"

namespace quendril {

namespace {

const QString kDurationKey = QStringLiteral("Duration");
constexpr qint64 kDaysBetweenReminders = 14;

} // namespace

void RemindToCheckForUpdate(Platform &platform, const settings::SettingsStore &settings, const site::SiteLinks &links)
{
    const QDate today = platform.today();
    const QLocale locale = platform.dateLocale();
    const QString stored = settings.ReadSetting(kDurationKey);
    if (stored.isEmpty()) {
        settings.WriteSetting(kDurationKey, site::dateToText(today, locale));
        return;
    }
    const auto storedDate = site::textToDate(stored, locale, today);
    if (!storedDate)
        return;
    const qint64 difference = today.daysTo(*storedDate);
    if (difference >= -kDaysBetweenReminders && difference <= kDaysBetweenReminders)
        return;

    const bool yes = platform.askYesNo(QStringLiteral("There maybe an update to this software available\r"
                                                      "Do you want to check for an update?"));
    if (!settings.WriteSetting(kDurationKey, site::dateToText(today, locale)))
        return;
    if (yes)
        links.OpenDownloadPage();
}

} // namespace quendril
