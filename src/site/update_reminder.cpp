#include "update_reminder.h"

#include "date_text.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "site_links.h"

namespace quendril::site {

namespace {

const QString kDurationKey = QStringLiteral("Duration");
constexpr qint64 kDaysBetweenReminders = 14;

} // namespace

void RemindToCheckForUpdate(platform::Platform &platform, const settings::SettingsStore &store, const SiteLinks &links)
{
    const QDate today = platform.today();
    const QLocale locale = platform.dateLocale();
    const QString stored = store.ReadSetting(kDurationKey);
    if (stored.isEmpty()) {
        store.WriteSetting(kDurationKey, dateToText(today, locale));
        return;
    }
    const auto storedDate = textToDate(stored, locale, today);
    if (!storedDate)
        return;
    const qint64 difference = today.daysTo(*storedDate);
    if (difference >= -kDaysBetweenReminders && difference <= kDaysBetweenReminders)
        return;

    const bool yes = platform.askYesNo(QStringLiteral("There maybe an update to this software available\r"
                                                      "Do you want to check for an update?"));
    if (!store.WriteSetting(kDurationKey, dateToText(today, locale)))
        return;
    if (yes)
        links.OpenDownloadPage();
}

} // namespace quendril::site
