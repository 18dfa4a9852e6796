#include "settings/settings_store.h"
#include "support/fake_platform.h"

#include <QtTest>

namespace settings = quendril::settings;

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void scrambling_data();
    void scrambling();
    void scramblingDropsWhatFallsOutOfRange();
    void dateTextsStayPlainInTheStore();
    void storeIsAddressedByExecutableName();
};

void TestSettingsStore::scrambling_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("scrambled");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("key") << "Duration"
                         << "Gxudwlrq";
    QTest::newRow("us date") << "12/8/26"
                             << "452;259";
    QTest::newRow("german date") << "08.12.26"
                                 << "3;145159";
    QTest::newRow("iso date") << "2026-12-08"
                              << "535904503;";
    QTest::newRow("all printable ascii") << QString() << QString(); // filled below
}

void TestSettingsStore::scrambling()
{
    QFETCH(QString, plain);
    QFETCH(QString, scrambled);
    if (plain.isEmpty() && QByteArray(QTest::currentDataTag()) == "all printable ascii") {
        for (char16_t c = 0x20; c < 0x7f; ++c)
            plain += QChar(c);
        scrambled = settings::EncodeSetting(plain);
        QCOMPARE(scrambled.size(), plain.size());
        for (qsizetype i = 0; i < plain.size(); ++i)
            QCOMPARE(scrambled[i].unicode(), plain[i].unicode() + settings::SettingShift);
    }
    QCOMPARE(settings::EncodeSetting(plain), scrambled);
    QCOMPARE(settings::DecodeSetting(scrambled), plain);
}

void TestSettingsStore::scramblingDropsWhatFallsOutOfRange()
{
    // Codes below the shift vanish when unscrambled; codes near 255 when scrambled.
    QCOMPARE(settings::DecodeSetting(QString::fromLatin1("\x01\x02")), QString());
    QCOMPARE(settings::DecodeSetting(QString::fromLatin1("\x01"
                                                         "D\x02")),
        QStringLiteral("A"));
    QCOMPARE(settings::EncodeSetting(QString::fromLatin1("a\xfd\xff")), QStringLiteral("d"));
    QCOMPARE(settings::EncodeSetting(QString::fromLatin1("\xfc")), QString::fromLatin1("\xff"));
    // Outside Latin-1 a character is taken as Latin-1 does: a question mark.
    QCOMPARE(settings::EncodeSetting(u"\u20ac"), settings::EncodeSetting(u"?"));
    QCOMPARE(settings::DecodeSetting(u"\u20ac"), settings::DecodeSetting(u"?"));
}

// Whatever the user's locale, a date in its short format scrambles into
// printable characters without the ones the store gives a meaning to.
void TestSettingsStore::dateTextsStayPlainInTheStore()
{
    const QDate dates[] = { QDate(2026, 12, 8), QDate(2027, 1, 31), QDate(2099, 9, 30) };
    const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale &locale : locales) {
        for (const QDate &date : dates) {
            const QString text = locale.toString(date, QLocale::ShortFormat);
            const QString scrambled = settings::EncodeSetting(text);
            for (const QChar c : scrambled) {
                QVERIFY2(c != u'/' && c != u'\\' && c.isPrint(),
                    qPrintable(locale.name() + ": " + text + " -> " + scrambled));
            }
        }
    }
}

void TestSettingsStore::storeIsAddressedByExecutableName()
{
    FakePlatform platform;
    const settings::SettingsStore settings(platform);
    QVERIFY(settings.WriteSetting("Duration", "12/8/26"));
    QCOMPARE(platform.store.keys(), QStringList({ "quendril/Settings/Gxudwlrq" }));
    QCOMPARE(platform.store.first(), QStringLiteral("452;259"));
    // Under another file name the program starts with nothing stored.
    platform.executable = "quendril-copy";
    QCOMPARE(settings.ReadSetting("Duration"), QString());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
