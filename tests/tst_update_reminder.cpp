#include "settings/settings_store.h"
#include "site/date_text.h"
#include "site/site_address.h"
#include "site/site_links.h"
#include "site/update_reminder.h"
#include "support/fake_platform.h"

#include <QtTest>

#include <optional>

namespace settings = quendril::settings;
namespace site = quendril::site;

namespace {

const QString kQuestion
    = QStringLiteral("There maybe an update to this software available\rDo you want to check for an update?");

QLocale locale(const char *name)
{
    return QLocale(QString::fromLatin1(name));
}

// One start of the program as far as the reminder sees it: the platform, the
// settings over it and the page openers, sharing one store between starts.
struct Starts {
    FakePlatform platform;
    settings::SettingsStore settings { platform };
    site::SiteLinks links { platform };

    QString durationPath() const
    {
        return FakePlatform::storePath(
            platform.executable, QStringLiteral("Settings"), settings::EncodeSetting(u"Duration"));
    }
    void storeDate(QDate date) { platform.store.insert(durationPath(), settings::EncodeSetting(dateText(date))); }
    QString dateText(QDate date) const { return site::dateToText(date, platform.locale); }
    // The stored text, unscrambled.
    QString storedText() const { return settings::DecodeSetting(platform.store.value(durationPath())); }
    QString writeEvent(QDate date) const
    {
        return "write:" + settings::EncodeSetting(u"Duration") + "=" + settings::EncodeSetting(dateText(date));
    }

    // Starts the program on the given day and gives what the reminder asked for.
    QStringList startOn(QDate today)
    {
        platform.todayValue = today;
        platform.events.clear();
        site::RemindToCheckForUpdate(platform, settings, links);
        return platform.events;
    }
};

QString downloadPage()
{
    return site::SiteBaseAddress() + "ssd.php?page=download-web-page";
}

} // namespace

class TestUpdateReminder : public QObject {
    Q_OBJECT

private slots:
    void firstRunStoresTodaySilently_data();
    void firstRunStoresTodaySilently();
    void dueOnlyBeyondFourteenDays_data();
    void dueOnlyBeyondFourteenDays();
    void answerDecidesAboutTheDownloadPage_data();
    void answerDecidesAboutTheDownloadPage();
    void unreadableStoredTextIsLeftAlone_data();
    void unreadableStoredTextIsLeftAlone();
    void refusedWriteOpensNothing();
    void remindersFollowTheStoredDate_data();
    void remindersFollowTheStoredDate();
    void twoDigitYearReadsBackNearToday_data();
    void twoDigitYearReadsBackNearToday();
    void dateTextRoundTrip_data();
    void dateTextRoundTrip();
    void dateTextReading_data();
    void dateTextReading();
    void everyLocaleReadsBackItsStoredDate();
};

void TestUpdateReminder::firstRunStoresTodaySilently_data()
{
    QTest::addColumn<QLocale>("dateLocale");
    QTest::addColumn<QDate>("today");
    QTest::newRow("en_US") << locale("en_US") << QDate(2026, 12, 8);
    QTest::newRow("de_DE") << locale("de_DE") << QDate(2027, 3, 1);
    QTest::newRow("ja_JP") << locale("ja_JP") << QDate(2026, 1, 31);
    QTest::newRow("C") << QLocale::c() << QDate(2030, 7, 4);
    QTest::newRow("ko_KR") << locale("ko_KR") << QDate(2099, 12, 31);
}

void TestUpdateReminder::firstRunStoresTodaySilently()
{
    QFETCH(QLocale, dateLocale);
    QFETCH(QDate, today);
    Starts starts;
    starts.platform.locale = dateLocale;
    QCOMPARE(starts.startOn(today), QStringList({ starts.writeEvent(today) }));
    QCOMPARE(starts.storedText(), site::dateToText(today, dateLocale));
    QCOMPARE(starts.platform.store.size(), 1);
    QVERIFY(starts.platform.questions.isEmpty());
    QVERIFY(starts.platform.opened.isEmpty());

    // The next start on the same day finds the date and stays silent.
    QCOMPARE(starts.startOn(today), QStringList());
}

void TestUpdateReminder::dueOnlyBeyondFourteenDays_data()
{
    QTest::addColumn<QDate>("stored");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("due");

    const QDate today(2026, 12, 8);
    QTest::newRow("same day") << today << today << false;
    QTest::newRow("1 day back") << today.addDays(-1) << today << false;
    QTest::newRow("14 days back") << today.addDays(-14) << today << false;
    QTest::newRow("15 days back") << today.addDays(-15) << today << true;
    QTest::newRow("16 days back") << today.addDays(-16) << today << true;
    QTest::newRow("a year back") << today.addYears(-1) << today << true;
    QTest::newRow("14 days ahead") << today.addDays(14) << today << false;
    QTest::newRow("15 days ahead") << today.addDays(15) << today << true;
    // A clock set far back makes the reminder due as well.
    QTest::newRow("clock set back half a year") << QDate(2027, 6, 1) << today << true;
    QTest::newRow("across the year end, 14") << QDate(2026, 12, 20) << QDate(2027, 1, 3) << false;
    QTest::newRow("across the year end, 15") << QDate(2026, 12, 20) << QDate(2027, 1, 4) << true;
    QTest::newRow("over a leap day, 14") << QDate(2028, 2, 29) << QDate(2028, 3, 14) << false;
    QTest::newRow("over a leap day, 15") << QDate(2028, 2, 28) << QDate(2028, 3, 14) << true;
    QTest::newRow("over a short February, 14") << QDate(2027, 2, 28) << QDate(2027, 3, 14) << false;
    QTest::newRow("over a short February, 15") << QDate(2027, 2, 27) << QDate(2027, 3, 14) << true;
}

void TestUpdateReminder::dueOnlyBeyondFourteenDays()
{
    QFETCH(QDate, stored);
    QFETCH(QDate, today);
    QFETCH(bool, due);

    Starts starts;
    starts.platform.answerYes = false;
    starts.storeDate(stored);
    const QString before = starts.platform.store.value(starts.durationPath());

    const QStringList events = starts.startOn(today);
    if (due) {
        QCOMPARE(events, QStringList({ "ask:" + kQuestion, starts.writeEvent(today) }));
        QCOMPARE(starts.storedText(), starts.dateText(today));
    } else {
        QCOMPARE(events, QStringList());
        QCOMPARE(starts.platform.store.value(starts.durationPath()), before);
    }
    QVERIFY(starts.platform.messages.isEmpty());
}

void TestUpdateReminder::answerDecidesAboutTheDownloadPage_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QDate>("stored");
    const QDate today(2026, 12, 8);
    QTest::newRow("yes, stored date past") << true << today.addDays(-15);
    QTest::newRow("no, stored date past") << false << today.addDays(-15);
    QTest::newRow("yes, stored date ahead") << true << today.addDays(40);
    QTest::newRow("no, stored date ahead") << false << today.addDays(40);
}

void TestUpdateReminder::answerDecidesAboutTheDownloadPage()
{
    QFETCH(bool, yes);
    QFETCH(QDate, stored);
    const QDate today(2026, 12, 8);

    Starts starts;
    starts.platform.answerYes = yes;
    starts.storeDate(stored);
    const QStringList events = starts.startOn(today);

    // The new date is stored before the page opens, whatever the answer.
    QStringList expected = { "ask:" + kQuestion, starts.writeEvent(today) };
    if (yes)
        expected << "open:" + downloadPage();
    QCOMPARE(events, expected);
    QCOMPARE(starts.platform.questions, QStringList({ kQuestion }));
    QCOMPARE(starts.storedText(), starts.dateText(today));
}

void TestUpdateReminder::unreadableStoredTextIsLeftAlone_data()
{
    // The value as it lies in the store.
    QTest::addColumn<QString>("raw");
    QTest::newRow("words") << settings::EncodeSetting(u"not a date");
    QTest::newRow("month 13") << settings::EncodeSetting(u"13/8/26");
    QTest::newRow("30 February") << settings::EncodeSetting(u"2/30/26");
    QTest::newRow("no year") << settings::EncodeSetting(u"12/8");
    QTest::newRow("another locale's format") << settings::EncodeSetting(u"08.12.26");
    QTest::newRow("iso date, day out of range") << settings::EncodeSetting(u"2026-12-32");
    QTest::newRow("date left unscrambled") << QStringLiteral("12/8/26");
    QTest::newRow("garbage") << QString::fromLatin1("\x7f\xfe\xa0~~");
}

void TestUpdateReminder::unreadableStoredTextIsLeftAlone()
{
    QFETCH(QString, raw);
    Starts starts;
    starts.platform.store.insert(starts.durationPath(), raw);
    for (const QDate today : { QDate(2026, 12, 8), QDate(2027, 6, 1) }) {
        QCOMPARE(starts.startOn(today), QStringList());
        QCOMPARE(starts.platform.store.value(starts.durationPath()), raw);
    }
}

void TestUpdateReminder::refusedWriteOpensNothing()
{
    Starts starts;
    starts.storeDate(QDate(2026, 11, 1));
    const QString before = starts.platform.store.value(starts.durationPath());
    starts.platform.storeWritable = false;
    starts.platform.answerYes = true;
    QCOMPARE(
        starts.startOn(QDate(2026, 12, 8)), QStringList({ "ask:" + kQuestion, starts.writeEvent(QDate(2026, 12, 8)) }));
    QVERIFY(starts.platform.opened.isEmpty());
    QCOMPARE(starts.platform.store.value(starts.durationPath()), before);
}

// Stored 1 March: silent up to the 15th, asks on the 16th and stores it,
// silent again up to the 30th, asks on the 31st.
void TestUpdateReminder::remindersFollowTheStoredDate_data()
{
    QTest::addColumn<QLocale>("dateLocale");
    QTest::addColumn<QDate>("first");
    QTest::newRow("1 March, en_US") << locale("en_US") << QDate(2027, 3, 1);
    QTest::newRow("1 March, de_DE") << locale("de_DE") << QDate(2027, 3, 1);
    QTest::newRow("1 March, ja_JP") << locale("ja_JP") << QDate(2027, 3, 1);
    QTest::newRow("into 2070, en_US") << locale("en_US") << QDate(2069, 12, 20);
    QTest::newRow("into 2100, en_US") << locale("en_US") << QDate(2099, 12, 10);
    QTest::newRow("into 2000, de_DE") << locale("de_DE") << QDate(1999, 12, 10);
    // Short dates the 8-bit store cannot keep, or the locale cannot read back.
    QTest::newRow("1 March, ar_EG") << locale("ar_EG") << QDate(2027, 3, 1);
    QTest::newRow("1 March, bg_BG") << locale("bg_BG") << QDate(2027, 3, 1);
    QTest::newRow("1 March, fa_IR") << locale("fa_IR") << QDate(2027, 3, 1);
    QTest::newRow("1 March, ccp") << locale("ccp") << QDate(2027, 3, 1);
}

void TestUpdateReminder::remindersFollowTheStoredDate()
{
    QFETCH(QLocale, dateLocale);
    QFETCH(QDate, first);

    Starts starts;
    starts.platform.locale = dateLocale;
    starts.platform.answerYes = false;
    starts.storeDate(first);

    for (int day = 1; day <= 14; ++day)
        QVERIFY2(starts.startOn(first.addDays(day)).isEmpty(), qPrintable(first.addDays(day).toString(Qt::ISODate)));
    const QDate reminded = first.addDays(15);
    QCOMPARE(starts.startOn(reminded), QStringList({ "ask:" + kQuestion, starts.writeEvent(reminded) }));
    QCOMPARE(starts.storedText(), starts.dateText(reminded));

    for (int day = 1; day <= 14; ++day) {
        QVERIFY2(
            starts.startOn(reminded.addDays(day)).isEmpty(), qPrintable(reminded.addDays(day).toString(Qt::ISODate)));
    }
    const QDate next = reminded.addDays(15);
    QCOMPARE(starts.startOn(next), QStringList({ "ask:" + kQuestion, starts.writeEvent(next) }));
    QCOMPARE(starts.platform.questions.size(), 2);
}

// M/d/yy carries only two digits of the year; a date the program wrote must
// read back as itself on any day near it, whichever century that is in.
void TestUpdateReminder::twoDigitYearReadsBackNearToday_data()
{
    QTest::addColumn<QDate>("written");
    QTest::addColumn<int>("offset"); // days from the written date to the next start
    const QDate dates[]
        = { QDate(2026, 12, 8), QDate(2069, 12, 31), QDate(2070, 1, 1), QDate(2099, 12, 25), QDate(2000, 1, 5) };
    for (const QDate date : dates) {
        for (const int offset : { -15, -14, -1, 0, 1, 14, 15 })
            QTest::addRow("%s, %+d days", qPrintable(date.toString(Qt::ISODate)), offset) << date << offset;
    }
}

void TestUpdateReminder::twoDigitYearReadsBackNearToday()
{
    QFETCH(QDate, written);
    QFETCH(int, offset);
    Starts starts;
    starts.platform.answerYes = false;
    QCOMPARE(starts.platform.locale.dateFormat(QLocale::ShortFormat), QStringLiteral("M/d/yy"));
    QCOMPARE(starts.startOn(written), QStringList({ starts.writeEvent(written) })); // the first run

    const QDate today = written.addDays(offset);
    const bool due = offset < -14 || offset > 14;
    const QStringList expected = due ? QStringList({ "ask:" + kQuestion, starts.writeEvent(today) }) : QStringList();
    QCOMPARE(starts.startOn(today), expected);
}

void TestUpdateReminder::dateTextRoundTrip_data()
{
    QTest::addColumn<QLocale>("dateLocale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("today");

    const char *names[] = { "en_US", "de_DE", "C", "ja_JP", "en_GB", "fr_FR", "ko_KR", "zh_CN", "ru_RU", "hi_IN",
        "th_TH", "ar_EG", "fa_IR" };
    const QDate dates[]
        = { QDate(1999, 12, 31), QDate(2026, 12, 8), QDate(2050, 1, 1), QDate(2069, 12, 31), QDate(2070, 1, 1) };
    for (const char *name : names) {
        for (const QDate date : dates) {
            for (const int offset : { -10, 10 }) {
                QTest::addRow("%s %s today %+d", name, qPrintable(date.toString(Qt::ISODate)), offset)
                    << locale(name) << date << date.addDays(offset);
            }
        }
    }
}

void TestUpdateReminder::dateTextRoundTrip()
{
    QFETCH(QLocale, dateLocale);
    QFETCH(QDate, date);
    QFETCH(QDate, today);
    const QString text = site::dateToText(date, dateLocale);
    const std::optional<QDate> read = site::textToDate(text, dateLocale, today);
    QVERIFY2(read.has_value(), qPrintable(text));
    QCOMPARE(*read, date);
}

void TestUpdateReminder::dateTextReading_data()
{
    QTest::addColumn<QLocale>("dateLocale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("date"); // invalid: no date

    const QDate today(2026, 12, 8);
    const QLocale us = locale("en_US");
    QTest::newRow("this century") << us << "12/8/26" << today << QDate(2026, 12, 8);
    QTest::newRow("43 years ahead is nearer than 57 back") << us << "1/1/70" << today << QDate(2070, 1, 1);
    QTest::newRow("47 years back is nearer than 53 ahead") << us << "1/1/80" << today << QDate(1980, 1, 1);
    QTest::newRow("last century") << us << "12/31/99" << today << QDate(1999, 12, 31);
    QTest::newRow("year 00") << us << "1/1/00" << today << QDate(2000, 1, 1);
    QTest::newRow("today two centuries on")
        << locale("de_DE") << "08.12.26" << QDate(2126, 12, 1) << QDate(2126, 12, 8);
    QTest::newRow("four-digit year is taken as written")
        << locale("ja_JP") << "1926/12/08" << today << QDate(1926, 12, 8);
    QTest::newRow("four-digit year far ahead") << locale("en_GB") << "01/01/2199" << today << QDate(2199, 1, 1);
    QTest::newRow("empty") << us << "" << today << QDate();
    QTest::newRow("words") << us << "not a date" << today << QDate();
    QTest::newRow("month 13") << us << "13/8/26" << today << QDate();
    QTest::newRow("30 February") << us << "2/30/26" << today << QDate();
    QTest::newRow("no year") << us << "12/8" << today << QDate();
    QTest::newRow("German text in en_US") << us << "08.12.26" << today << QDate();
    QTest::newRow("US text in de_DE") << locale("de_DE") << "12/8/26" << today << QDate();
}

void TestUpdateReminder::dateTextReading()
{
    QFETCH(QLocale, dateLocale);
    QFETCH(QString, text);
    QFETCH(QDate, today);
    QFETCH(QDate, date);
    const std::optional<QDate> read = site::textToDate(text, dateLocale, today);
    if (!date.isValid()) {
        QVERIFY2(!read.has_value(), qPrintable(read ? read->toString(Qt::ISODate) : QString()));
        return;
    }
    QVERIFY(read.has_value());
    QCOMPARE(*read, date);
}

// Whatever the user's locale, the date goes through the scrambled 8-bit store
// and comes back as the date that was written.
void TestUpdateReminder::everyLocaleReadsBackItsStoredDate()
{
    const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale &locale : locales) {
        for (const QDate date : { QDate(2026, 12, 8), QDate(2027, 3, 1), QDate(2069, 12, 31), QDate(2070, 1, 1) }) {
            const QString stored = settings::DecodeSetting(settings::EncodeSetting(site::dateToText(date, locale)));
            QVERIFY2(site::textToDate(stored, locale, date.addDays(15)) == date,
                qPrintable(locale.name() + " " + date.toString(Qt::ISODate) + " as " + stored));
        }
    }
}

QTEST_GUILESS_MAIN(TestUpdateReminder)
#include "tst_update_reminder.moc"
