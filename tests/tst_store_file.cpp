#include "platform/qt_platform.h"
#include "settings/settings_store.h"

#include <QtTest>

// The real settings store where it is a file in the user's configuration
// folder (Linux and other Unix systems): what reaches the disk, and a store
// that cannot be written or read.
class TestStoreFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void freshAccountReadsEmpty();
    void roundTripThroughTheRealStore();
    void refusedWriteIsReported();
    void unreadableStoreIsNotOverwritten();

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    QString storeFile(const QString &application) const
    {
        return m_configDir->filePath(application + "/" + application + ".conf");
    }
};

void TestStoreFile::init()
{
    m_configDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_configDir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
}

void TestStoreFile::cleanup()
{
    m_configDir.reset();
}

void TestStoreFile::freshAccountReadsEmpty()
{
    quendril::platform::QtPlatform platform;
    const quendril::settings::SettingsStore settings(platform);
    QCOMPARE(settings.ReadSetting("Duration"), QString());
    QVERIFY(!QFileInfo::exists(storeFile(platform.executableBaseName())));
}

void TestStoreFile::roundTripThroughTheRealStore()
{
    quendril::platform::QtPlatform platform;
    const quendril::settings::SettingsStore settings(platform);
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

void TestStoreFile::refusedWriteIsReported()
{
    // A regular file where the store's directory should be: no write can succeed.
    QFile blocker(m_configDir->filePath("blocked"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName());
    quendril::platform::QtPlatform platform;
    const quendril::settings::SettingsStore settings(platform);
    QVERIFY(!settings.WriteSetting("Duration", "12/8/26"));
    QCOMPARE(settings.ReadSetting("Duration"), QString());
}

void TestStoreFile::unreadableStoreIsNotOverwritten()
{
    quendril::platform::QtPlatform platform;
    const quendril::settings::SettingsStore settings(platform);
    QVERIFY(settings.WriteSetting("Duration", "12/8/26"));
    const QString path = storeFile(platform.executableBaseName());
    // A directory in the file's place cannot be read as a store.
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path));
    QCOMPARE(settings.ReadSetting("Duration"), QString());
    QVERIFY(!settings.WriteSetting("Duration", "1/1/27"));
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_GUILESS_MAIN(TestStoreFile)
#include "tst_store_file.moc"
