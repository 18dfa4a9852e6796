#include "platform/qt_platform.h"
#include "settings/settings_store.h"
#include "support/fake_platform.h"

#include <QtTest>

using namespace quendril;
using namespace quendril::settings;

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scrambling_data();
    void scrambling();
    void scramblingDropsWhatFallsOutOfRange();
    void dateTextsStayPlainInTheStore();
    void freshAccountReadsEmpty();
    void roundTripThroughTheRealStore();
    void refusedWriteIsReported();
    void unreadableStoreIsNotOverwritten();
    void storeIsAddressedByExecutableName();

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    QString storeFile(const QString &application) const
    {
        return m_configDir->filePath(application + "/" + application + ".conf");
    }
};

void TestSettingsStore::init()
{
    m_configDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_configDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
}

void TestSettingsStore::cleanup()
{
    m_configDir.reset();
}

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
        scrambled = EncodeSetting(plain);
        QCOMPARE(scrambled.size(), plain.size());
        for (qsizetype i = 0; i < plain.size(); ++i)
            QCOMPARE(scrambled[i].unicode(), plain[i].unicode() + SettingShift);
    }
    QCOMPARE(EncodeSetting(plain), scrambled);
    QCOMPARE(DecodeSetting(scrambled), plain);
}

void TestSettingsStore::scramblingDropsWhatFallsOutOfRange()
{
    // Codes below the shift vanish when unscrambled; codes near 255 when scrambled.
    QCOMPARE(DecodeSetting(QString::fromLatin1("\x01\x02")), QString());
    QCOMPARE(DecodeSetting(QString::fromLatin1("\x01"
                                               "D\x02")),
        QStringLiteral("A"));
    QCOMPARE(EncodeSetting(QString::fromLatin1("a\xfd\xff")), QStringLiteral("d"));
    QCOMPARE(EncodeSetting(QString::fromLatin1("\xfc")), QString::fromLatin1("\xff"));
    // Outside Latin-1 a character is taken as Latin-1 does: a question mark.
    QCOMPARE(EncodeSetting(u"\u20ac"), EncodeSetting(u"?"));
    QCOMPARE(DecodeSetting(u"\u20ac"), DecodeSetting(u"?"));
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
            const QString scrambled = EncodeSetting(text);
            for (const QChar c : scrambled) {
                QVERIFY2(c != u'/' && c != u'\\' && c.isPrint(),
                    qPrintable(locale.name() + ": " + text + " -> " + scrambled));
            }
        }
    }
}

void TestSettingsStore::freshAccountReadsEmpty()
{
    QtPlatform platform;
    const SettingsStore settings(platform);
    QCOMPARE(settings.ReadSetting("Duration"), QString());
    QVERIFY(!QFileInfo::exists(storeFile(platform.executableBaseName())));
}

void TestSettingsStore::roundTripThroughTheRealStore()
{
    QtPlatform platform;
    const SettingsStore settings(platform);
    const QString date = QLocale::system().toString(QDate(2026, 12, 8), QLocale::ShortFormat);
    QVERIFY(settings.WriteSetting("Duration", date));
    QCOMPARE(settings.ReadSetting("Duration"), date);

    // Each write is on disk at once, scrambled: neither the key nor the date reads plainly.
    QFile file(storeFile(platform.executableBaseName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray onDisk = file.readAll();
    QVERIFY(onDisk.contains("[Settings]"));
    QVERIFY(onDisk.contains("Gxudwlrq="));
    QVERIFY(!onDisk.contains("Duration"));
    QVERIFY(!onDisk.contains(date.toUtf8()));

    // A second write replaces the first.
    QVERIFY(settings.WriteSetting("Duration", "1/2/27"));
    QCOMPARE(settings.ReadSetting("Duration"), QStringLiteral("1/2/27"));
}

void TestSettingsStore::refusedWriteIsReported()
{
    // A regular file where the store's directory should be: no write can succeed.
    QFile blocker(m_configDir->filePath("blocked"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName());
    QtPlatform platform;
    const SettingsStore settings(platform);
    QVERIFY(!settings.WriteSetting("Duration", "12/8/26"));
    QCOMPARE(settings.ReadSetting("Duration"), QString());
}

void TestSettingsStore::unreadableStoreIsNotOverwritten()
{
    QtPlatform platform;
    const SettingsStore settings(platform);
    QVERIFY(settings.WriteSetting("Duration", "12/8/26"));
    const QString path = storeFile(platform.executableBaseName());
    // A directory in the file's place cannot be read as a store.
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path));
    QCOMPARE(settings.ReadSetting("Duration"), QString());
    QVERIFY(!settings.WriteSetting("Duration", "1/1/27"));
    QVERIFY(QFileInfo(path).isDir());
}

void TestSettingsStore::storeIsAddressedByExecutableName()
{
    FakePlatform platform;
    const SettingsStore settings(platform);
    QVERIFY(settings.WriteSetting("Duration", "12/8/26"));
    QCOMPARE(platform.store.keys(), QStringList({ "quendril/Settings/Gxudwlrq" }));
    QCOMPARE(platform.store.first(), QStringLiteral("452;259"));
    // Under another file name the program starts with nothing stored.
    platform.executable = "quendril-copy";
    QCOMPARE(settings.ReadSetting("Duration"), QString());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
