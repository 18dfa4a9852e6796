// The stored date: any text read as a date in any locale, and every date
// written and read back in every locale.
#include "fuzz_support.h"
#include "settings/settings_store.h"
#include "site/date_text.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

const QList<QLocale> &allLocales()
{
    static const QList<QLocale> locales = [] {
        QList<QLocale> found
            = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        found.append(QLocale::c());
        return found;
    }();
    return locales;
}

// Forty years either side of today: a stored date is never further away.
constexpr int kDaysAround = 40 * 365;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const QList<QLocale> &locales = allLocales();
    const QLocale &locale = locales[input.ConsumeIntegral<std::uint16_t>() % locales.size()];
    const QDate today = QDate(2000, 1, 1).addDays(input.ConsumeIntegralInRange(-36500, 73000));

    if (input.ConsumeBool()) {
        const std::string bytes = input.ConsumeRemainingBytesAsString();
        const QString text
            = quendril::fuzz::textFromBytes(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        const auto date = quendril::site::textToDate(text, locale, today);
        if (date)
            FUZZ_CHECK(date->isValid());
        return 0;
    }

    const QDate date = today.addDays(input.ConsumeIntegralInRange(-kDaysAround, kDaysAround));
    const QString text = quendril::site::dateToText(date, locale);
    FUZZ_CHECK(!text.isEmpty());
    // It survives the store's scrambling, and reads back as the same day.
    FUZZ_CHECK(quendril::settings::DecodeSetting(quendril::settings::EncodeSetting(text)) == text);
    FUZZ_CHECK(quendril::site::textToDate(text, locale, today) == date);
    return 0;
}
