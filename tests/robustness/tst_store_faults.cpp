#include "platform/qt_platform.h"
#include "settings/settings_store.h"

#include <QtTest>

// The real settings store over a file that cannot be read as one: the program
// reads it, finds nothing, and must then leave it alone.
class TestStoreFaults : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unreadableFileIsNeverRewritten_data();
    void unreadableFileIsNeverRewritten();
    void readableFileKeepsItsOtherEntries();

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    QString m_application;
    QString storeFile() const { return m_configDir->filePath(m_application + "/" + m_application + ".conf"); }
    void writeStoreFile(const QByteArray &bytes) const;
    QByteArray storeBytes() const;
};

void TestStoreFaults::init()
{
    m_configDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_configDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
    m_application = quendril::platform::QtPlatform().executableBaseName();
    QVERIFY(QDir().mkpath(m_configDir->filePath(m_application)));
}

void TestStoreFaults::cleanup()
{
    m_configDir.reset();
}

void TestStoreFaults::writeStoreFile(const QByteArray &bytes) const
{
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestStoreFaults::storeBytes() const
{
    QFile file(storeFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestStoreFaults::unreadableFileIsNeverRewritten_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("section header never closed") << QByteArray("[Settings\nGxudwlrq=\"452;259\"\n");
    // Random bytes behind such a header.
    QByteArray garbage("[\x01\xfe\x00\x93\n", 6);
    quint32 state = 7;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.append(char(state >> 23));
    }
    QTest::newRow("binary garbage") << garbage;
}

// QSettings keeps a file it has parsed for the next object that opens it, and
// that object no longer reports the parse error: the write after a failed read
// used to rewrite the file from what could be made of it.
void TestStoreFaults::unreadableFileIsNeverRewritten()
{
    QFETCH(QByteArray, bytes);
    writeStoreFile(bytes);

    quendril::platform::QtPlatform platform;
    const quendril::settings::SettingsStore settings(platform);
    QCOMPARE(settings.ReadSetting("Duration"), QString());
    QVERIFY(!settings.WriteSetting("Duration", "12/8/26"));
    QVERIFY(!settings.WriteSetting("Duration", "12/8/26")); // nor on a second try
    QCOMPARE(storeBytes(), bytes);
}

// The guard does not keep a good store from being written.
void TestStoreFaults::readableFileKeepsItsOtherEntries()
{
    writeStoreFile("[Other]\nkept=1\n[Settings]\nDuration=8 Dec 2026\n");
    quendril::platform::QtPlatform platform;
    const quendril::settings::SettingsStore settings(platform);
    QCOMPARE(settings.ReadSetting("Duration"), QString());
    QVERIFY(settings.WriteSetting("Duration", "12/8/26"));
    QCOMPARE(settings.ReadSetting("Duration"), QStringLiteral("12/8/26"));
    const QByteArray after = storeBytes();
    QVERIFY(after.contains("kept=1"));
    QVERIFY(after.contains("Duration=8 Dec 2026"));
    QVERIFY(after.contains("Gxudwlrq="));
}

QTEST_GUILESS_MAIN(TestStoreFaults)
#include "tst_store_faults.moc"
