#include "platform/qt_platform.h"
#include "site/site_address.h"

#include <QtTest>

namespace site = quendril::site;

// What the desktop's browser receives from the real platform: a recording
// xdg-open first on PATH shows exactly what arrives.
class TestBrowserHandover : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void browserReceivesTheAddressUnchanged_data();
    void browserReceivesTheAddressUnchanged();

private:
    QTemporaryDir m_dir;
    QString m_log;
};

void TestBrowserHandover::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_log = m_dir.filePath("opened.txt");
    QFile script(m_dir.filePath("xdg-open"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" + m_log.toUtf8() + "\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Qt looks for the browser launcher once, at the first address it opens.
    qputenv("PATH", m_dir.path().toUtf8() + ":" + qgetenv("PATH"));
}

void TestBrowserHandover::browserReceivesTheAddressUnchanged_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("page") << site::SitePageAddress(site::page::download);
    QTest::newRow("encoded parameters") << site::SitePageAddress(site::page::referAFriend)
            + "&taf1=Tom%20%26%20Jerry&taf2=a%40b.c&taf3=Your%20Message%0D%0A"
              "&taf4=J%C3%BCrgen&taf5=x%2By%3Dz%23%25&taf6="
            + site::SiteBaseAddress();
}

void TestBrowserHandover::browserReceivesTheAddressUnchanged()
{
    QFETCH(QString, address);
    QFile::remove(m_log);
    quendril::platform::QtPlatform platform;
    platform.shellOpen(address);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_log).size() > 0, 10000);
    QFile received(m_log);
    QVERIFY(received.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(received.readAll()), address + "\n");
}

QTEST_MAIN(TestBrowserHandover)
#include "tst_browser_handover.moc"
