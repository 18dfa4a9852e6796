#include "site/site_address.h"
#include "site/site_links.h"
#include "support/fake_platform.h"

#include <QtTest>

using namespace quendril::site;

class TestSiteAddresses : public QObject {
    Q_OBJECT

private slots:
    void baseAddress();
    void everyOpenerHandsOverItsPage_data();
    void everyOpenerHandsOverItsPage();
};

void TestSiteAddresses::baseAddress()
{
    QVERIFY(siteRoot().startsWith(u"http"));
    QVERIFY(!siteRoot().endsWith(u'/'));
    QCOMPARE(SiteBaseAddress(), siteRoot() + "/vasq-free-quendril/");
    QCOMPARE(SitePageAddress(u"help-web-page"), siteRoot() + "/vasq-free-quendril/ssd.php?page=help-web-page");
    QVERIFY(!siteHost().contains(u'/'));
}

using Opener = void (SiteLinks::*)() const;
Q_DECLARE_METATYPE(Opener)

void TestSiteAddresses::everyOpenerHandsOverItsPage_data()
{
    QTest::addColumn<Opener>("opener");
    QTest::addColumn<QString>("key");
    QTest::newRow("help") << &SiteLinks::OpenHelpPage << "help-web-page";
    QTest::newRow("home") << &SiteLinks::OpenHomePage << "home-page";
    QTest::newRow("download") << &SiteLinks::OpenDownloadPage << "download-web-page";
    QTest::newRow("donate") << &SiteLinks::OpenDonatePage << "donate";
    QTest::newRow("fully branded") << &SiteLinks::OpenFullyBrandedPage << "fully-branded";
    QTest::newRow("co-brand") << &SiteLinks::OpenCoBrandPage << "co-brand";
    QTest::newRow("softwares") << &SiteLinks::OpenSoftwaresPage << "talvexsoftwares";
}

void TestSiteAddresses::everyOpenerHandsOverItsPage()
{
    QFETCH(Opener, opener);
    QFETCH(QString, key);
    FakePlatform platform;
    const SiteLinks links(platform);
    (links.*opener)();
    (links.*opener)();
    const QString expected = siteRoot() + "/vasq-free-quendril/ssd.php?page=" + key;
    // Each call opens the page again; nothing else is asked of the platform.
    QCOMPARE(platform.events, QStringList({ "open:" + expected, "open:" + expected }));
}

QTEST_GUILESS_MAIN(TestSiteAddresses)
#include "tst_site_addresses.moc"
