#include "site/site_address.h"
#include "site/site_links.h"
#include "support/fake_platform.h"

#include <QtTest>

namespace site = quendril::site;

class TestSiteAddresses : public QObject {
    Q_OBJECT

private slots:
    void baseAddress();
    void everyOpenerHandsOverItsPage_data();
    void everyOpenerHandsOverItsPage();
};

void TestSiteAddresses::baseAddress()
{
    QVERIFY(site::siteRoot().startsWith(u"http"));
    QVERIFY(!site::siteRoot().endsWith(u'/'));
    QCOMPARE(site::SiteBaseAddress(), site::siteRoot() + "/vasq-free-quendril/");
    QCOMPARE(
        site::SitePageAddress(u"help-web-page"), site::siteRoot() + "/vasq-free-quendril/ssd.php?page=help-web-page");
    QVERIFY(!site::siteHost().contains(u'/'));
}

using Opener = void (site::SiteLinks::*)() const;
Q_DECLARE_METATYPE(Opener)

void TestSiteAddresses::everyOpenerHandsOverItsPage_data()
{
    QTest::addColumn<Opener>("opener");
    QTest::addColumn<QString>("key");
    QTest::newRow("help") << &site::SiteLinks::OpenHelpPage << "help-web-page";
    QTest::newRow("home") << &site::SiteLinks::OpenHomePage << "home-page";
    QTest::newRow("download") << &site::SiteLinks::OpenDownloadPage << "download-web-page";
    QTest::newRow("donate") << &site::SiteLinks::OpenDonatePage << "donate";
    QTest::newRow("fully branded") << &site::SiteLinks::OpenFullyBrandedPage << "fully-branded";
    QTest::newRow("co-brand") << &site::SiteLinks::OpenCoBrandPage << "co-brand";
    QTest::newRow("softwares") << &site::SiteLinks::OpenSoftwaresPage << "talvexsoftwares";
}

void TestSiteAddresses::everyOpenerHandsOverItsPage()
{
    QFETCH(Opener, opener);
    QFETCH(QString, key);
    FakePlatform platform;
    const site::SiteLinks links(platform);
    (links.*opener)();
    (links.*opener)();
    const QString expected = site::siteRoot() + "/vasq-free-quendril/ssd.php?page=" + key;
    // Each call opens the page again; nothing else is asked of the platform.
    QCOMPARE(platform.events, QStringList({ "open:" + expected, "open:" + expected }));
}

QTEST_GUILESS_MAIN(TestSiteAddresses)
#include "tst_site_addresses.moc"
