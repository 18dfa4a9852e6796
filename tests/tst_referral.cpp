#include "site/referral.h"
#include "site/site_address.h"
#include "support/fake_platform.h"

#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

namespace site = quendril::site;

namespace {

const QString kDistinct = QStringLiteral("Please Enter Distinct Email Addresses");
const QString kProper = QStringLiteral("Please Enter Proper Email Address");
const QString kName = QStringLiteral("Please Enter Your Name");
const QString kMessage = QStringLiteral("Please Enter Your Message");
const QString kFriendName = QStringLiteral("Please Enter Your Friend's Name");

// What the message box holds while the user has typed nothing into it.
const QString kUntouchedMessage = QStringLiteral("Your Message\r\n");

site::TellAFriend validFields()
{
    site::TellAFriend fields;
    fields.ReferrerName = QStringLiteral("Ann");
    fields.ReferrerEmail = QStringLiteral("ann@example.com");
    fields.ReferralMessage = kUntouchedMessage;
    fields.FriendName = QStringLiteral("Bob");
    fields.FriendEmail = QStringLiteral("bob@example.org");
    return fields;
}

QString referralPage()
{
    return site::SiteBaseAddress() + QStringLiteral("ssd.php?page=zorq-refer-a-friend");
}

} // namespace

class TestReferral : public QObject {
    Q_OBJECT

private slots:
    void trimSpaces_data();
    void trimSpaces();
    void emailAddressProblem_data();
    void emailAddressProblem();
    void failedCheckShowsItsMessageAndOpensNothing_data();
    void failedCheckShowsItsMessageAndOpensNothing();
    void passingSubmissionOpensItsAddress_data();
    void passingSubmissionOpensItsAddress();
    void addressParsesBackIntoTheFields();
    void everyPassingPressOpensThePageAgain();
};

void TestReferral::trimSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("spaces only") << "    "
                                 << "";
    QTest::newRow("nothing to cut") << "Ann"
                                    << "Ann";
    QTest::newRow("both ends") << "  Ann Lee   "
                               << "Ann Lee";
    QTest::newRow("inner spaces stay") << "Ann   Lee"
                                       << "Ann   Lee";
    QTest::newRow("leading tab stays") << "\t Ann"
                                       << "\t Ann";
    QTest::newRow("spaces outside a tab go") << " \tAnn\t "
                                             << "\tAnn\t";
    QTest::newRow("line break at the end stays") << "Your Message\r\n"
                                                 << "Your Message\r\n";
    QTest::newRow("spaces after a line break go") << "Your Message\r\n  "
                                                  << "Your Message\r\n";
    QTest::newRow("line feed alone") << "\n"
                                     << "\n";
    QTest::newRow("no-break space stays") << QStringLiteral("\u00a0Ann\u00a0") << QStringLiteral("\u00a0Ann\u00a0");
    QTest::newRow("ideographic space stays") << QStringLiteral("\u3000Ann") << QStringLiteral("\u3000Ann");
    QTest::newRow("single space") << " "
                                  << "";
    QTest::newRow("single letter in spaces") << " a "
                                             << "a";
}

void TestReferral::trimSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(quendril::site::trimSpaces(text), trimmed);
}

void TestReferral::emailAddressProblem_data()
{
    QTest::addColumn<QString>("yours");
    QTest::addColumn<QString>("friends");
    QTest::addColumn<QString>("message");

    QTest::newRow("untouched placeholders") << "Your Email Address"
                                            << "Friend's Email Address" << kProper;
    QTest::newRow("same text without an at sign") << "abc"
                                                  << "abc" << kDistinct;
    QTest::newRow("same proper address") << "ann@example.com"
                                         << "ann@example.com" << kDistinct;
    QTest::newRow("both empty") << ""
                                << "" << kDistinct;
    QTest::newRow("differ only in case") << "Ann@Example.com"
                                         << "ann@example.com"
                                         << "";
    QTest::newRow("at sign and full stop alone") << "@."
                                                 << ".@"
                                                 << "";
    QTest::newRow("typical") << "ann@example.com"
                             << "bob@example.org"
                             << "";
    QTest::newRow("dot before the at sign is enough") << "ann.lee@example"
                                                      << "bob.y@z"
                                                      << "";
    QTest::newRow("several at signs") << "a@@b.c"
                                      << "@@@."
                                      << "";
    QTest::newRow("yours without at sign") << "ann.example.com"
                                           << "bob@example.org" << kProper;
    QTest::newRow("friend's without at sign") << "ann@example.com"
                                              << "bob.example.org" << kProper;
    QTest::newRow("yours without full stop") << "ann@example"
                                             << "bob@example.org" << kProper;
    QTest::newRow("friend's without full stop") << "ann@example.com"
                                                << "bob@example" << kProper;
    QTest::newRow("at sign in one, full stop in the other") << "ann@example"
                                                            << "bob.example" << kProper;
    QTest::newRow("yours empty") << ""
                                 << "bob@example.org" << kProper;
    QTest::newRow("friend's empty") << "ann@example.com"
                                    << "" << kProper;
    QTest::newRow("full-width at sign is no at sign")
        << QStringLiteral("ann\uff20example.com") << "bob@example.org" << kProper;
    QTest::newRow("ideographic full stop is no full stop")
        << "ann@example.com" << QStringLiteral("bob@example\u3002org") << kProper;
}

void TestReferral::emailAddressProblem()
{
    QFETCH(QString, yours);
    QFETCH(QString, friends);
    QFETCH(QString, message);
    QCOMPARE(quendril::site::emailAddressProblem(yours, friends), message);
}

void TestReferral::failedCheckShowsItsMessageAndOpensNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("friendName");
    QTest::addColumn<QString>("shown");

    QTest::newRow("name empty") << "" << kUntouchedMessage << "Bob" << kName;
    QTest::newRow("name is its placeholder") << "Your Name" << kUntouchedMessage << "Bob" << kName;
    QTest::newRow("message empty") << "Ann"
                                   << ""
                                   << "Bob" << kMessage;
    QTest::newRow("message is its placeholder") << "Ann"
                                                << "Your Message"
                                                << "Bob" << kMessage;
    QTest::newRow("friend's name empty") << "Ann" << kUntouchedMessage << "" << kFriendName;
    QTest::newRow("friend's name is its placeholder") << "Ann" << kUntouchedMessage << "Friend's Name" << kFriendName;
    // The name is checked first, then the message, then the friend's name.
    QTest::newRow("all three missing") << "Your Name"
                                       << "Your Message"
                                       << "Friend's Name" << kName;
    QTest::newRow("name missing, friend's name missing") << "" << kUntouchedMessage << "" << kName;
    QTest::newRow("message and friend's name missing") << "Ann"
                                                       << ""
                                                       << "" << kMessage;
    QTest::newRow("message placeholder before friend's placeholder") << "Ann"
                                                                     << "Your Message"
                                                                     << "Friend's Name" << kMessage;
}

void TestReferral::failedCheckShowsItsMessageAndOpensNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, friendName);
    QFETCH(QString, shown);

    FakePlatform platform;
    site::TellAFriend fields = validFields();
    fields.ReferrerName = name;
    fields.ReferralMessage = message;
    fields.FriendName = friendName;
    fields.ReferralAddress = QStringLiteral("address of an earlier press");
    const site::TellAFriend before = fields;

    site::SubmitReferral(fields, platform, nullptr);

    QCOMPARE(platform.events, QStringList({ "message:" + shown }));
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages.first().icon, quendril::platform::Platform::MessageIcon::Stop);
    QVERIFY(platform.opened.isEmpty());
    // A failed check leaves every field, the last address included, as it was.
    QCOMPARE(fields.ReferralAddress, before.ReferralAddress);
    QCOMPARE(fields.ReferrerName, before.ReferrerName);
    QCOMPARE(fields.ReferralMessage, before.ReferralMessage);
    QCOMPARE(fields.FriendName, before.FriendName);
}

void TestReferral::passingSubmissionOpensItsAddress_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("friendName");
    QTest::addColumn<QString>("friendEmail");
    QTest::addColumn<QString>("parameters"); // taf1..taf5 as they must appear in the address

    QTest::newRow("untouched message keeps its line break")
        << "Ann"
        << "ann@example.com" << kUntouchedMessage << "Bob"
        << "bob@example.org"
        << "&taf1=Ann&taf2=ann@example.com&taf3=Your%20Message%0D%0A&taf4=Bob&taf5=bob@example.org";
    QTest::newRow("spaces inside names") << "Ann Lee"
                                         << "ann@example.com"
                                         << "Hello there"
                                         << "Bob  Smith"
                                         << "bob@example.org"
                                         << "&taf1=Ann%20Lee&taf2=ann@example.com&taf3=Hello%20there"
                                            "&taf4=Bob%20%20Smith&taf5=bob@example.org";
    QTest::newRow("ampersand and equals sign") << "Tom & Jerry"
                                               << "ann@example.com"
                                               << "a=b&taf6=evil"
                                               << "Bob"
                                               << "bob@example.org"
                                               << "&taf1=Tom%20%26%20Jerry&taf2=ann@example.com"
                                                  "&taf3=a%3Db%26taf6%3Devil&taf4=Bob&taf5=bob@example.org";
    QTest::newRow("hash, plus, percent, question mark")
        << "C# + C++"
        << "ann+news@example.com"
        << "100% sure?"
        << "#1"
        << "bob@example.org"
        << "&taf1=C%23%20%2B%20C%2B%2B&taf2=ann%2Bnews@example.com&taf3=100%25%20sure%3F"
           "&taf4=%231&taf5=bob@example.org";
    QTest::newRow("encoded-looking text is encoded again") << "%41"
                                                           << "ann@example.com"
                                                           << "%0D%0A"
                                                           << "Bob"
                                                           << "bob@example.org"
                                                           << "&taf1=%2541&taf2=ann@example.com&taf3=%250D%250A"
                                                              "&taf4=Bob&taf5=bob@example.org";
    QTest::newRow("line breaks and tab") << "Ann"
                                         << "ann@example.com"
                                         << "line one\r\nline two\n\tend"
                                         << "Bob"
                                         << "bob@example.org"
                                         << "&taf1=Ann&taf2=ann@example.com&taf3=line%20one%0D%0Aline%20two%0A%09end"
                                            "&taf4=Bob&taf5=bob@example.org";
    QTest::newRow("non-ASCII letters") << QStringLiteral("Jürgen") << QStringLiteral("jürgen@bücher.de")
                                       << QStringLiteral("Grüße, ça va?") << QStringLiteral("Ñandú")
                                       << "bob@example.org"
                                       << "&taf1=J%C3%BCrgen&taf2=j%C3%BCrgen@b%C3%BCcher.de"
                                          "&taf3=Gr%C3%BC%C3%9Fe%2C%20%C3%A7a%20va%3F&taf4=%C3%91and%C3%BA"
                                          "&taf5=bob@example.org";
    QTest::newRow("emoji and other scripts")
        << QStringLiteral("Ann \U0001F600") << "ann@example.com" << QStringLiteral("\u4f60\u597d")
        << QStringLiteral("\u0411\u043e\u0431") << "bob@example.org"
        << "&taf1=Ann%20%F0%9F%98%80&taf2=ann@example.com&taf3=%E4%BD%A0%E5%A5%BD"
           "&taf4=%D0%91%D0%BE%D0%B1&taf5=bob@example.org";
    QTest::newRow("slash, colon and at sign stay, other marks do not")
        << "O'Neil (sis)"
        << "ann@example.com"
        << "see http://x.example/a;b,c!*\"<>[]{}|\\^`"
        << "Bob~_-."
        << "bob@example.org"
        << "&taf1=O%27Neil%20%28sis%29&taf2=ann@example.com"
           "&taf3=see%20http://x.example/a%3Bb%2Cc%21%2A%22%3C%3E%5B%5D%7B%7D%7C%5C%5E%60"
           "&taf4=Bob~_-.&taf5=bob@example.org";
    QTest::newRow("smallest proper addresses") << "Ann"
                                               << "@."
                                               << "Hi"
                                               << "Bob"
                                               << ".@"
                                               << "&taf1=Ann&taf2=@.&taf3=Hi&taf4=Bob&taf5=.@";
    QTest::newRow("empty e-mail fields leave bare parameter names") << "Ann"
                                                                    << ""
                                                                    << "Hi"
                                                                    << "Bob"
                                                                    << ""
                                                                    << "&taf1=Ann&taf2=&taf3=Hi&taf4=Bob&taf5=";
    // Only the exact placeholders are refused; the checks are case-sensitive.
    QTest::newRow("placeholders in another case pass") << "your name"
                                                       << "ann@example.com"
                                                       << "YOUR MESSAGE"
                                                       << "friend's name"
                                                       << "bob@example.org"
                                                       << "&taf1=your%20name&taf2=ann@example.com"
                                                          "&taf3=YOUR%20MESSAGE&taf4=friend%27s%20name"
                                                          "&taf5=bob@example.org";
    // Tabs and line breaks survive the trimming, so these are no placeholders.
    QTest::newRow("placeholder with a tab or line break beside it")
        << "Your Name\t"
        << "ann@example.com"
        << "\tYour Message"
        << "Friend's Name\n"
        << "bob@example.org"
        << "&taf1=Your%20Name%09&taf2=ann@example.com"
           "&taf3=%09Your%20Message&taf4=Friend%27s%20Name%0A"
           "&taf5=bob@example.org";
}

void TestReferral::passingSubmissionOpensItsAddress()
{
    QFETCH(QString, name);
    QFETCH(QString, email);
    QFETCH(QString, message);
    QFETCH(QString, friendName);
    QFETCH(QString, friendEmail);
    QFETCH(QString, parameters);

    FakePlatform platform;
    site::TellAFriend fields;
    fields.ReferrerName = name;
    fields.ReferrerEmail = email;
    fields.ReferralMessage = message;
    fields.FriendName = friendName;
    fields.FriendEmail = friendEmail;

    site::SubmitReferral(fields, platform, nullptr);

    const QString expected = referralPage() + parameters + "&taf6=" + site::SiteBaseAddress();
    QCOMPARE(fields.ReferralAddress, expected);
    QCOMPARE(platform.events, QStringList({ "open:" + expected }));
    QVERIFY(platform.messages.isEmpty());
    // The input fields are read, never changed.
    QCOMPARE(fields.ReferrerName, name);
    QCOMPARE(fields.ReferralMessage, message);
    QCOMPARE(fields.FriendEmail, friendEmail);
}

// Whatever the fields hold, the address reads back as the page and exactly
// the six parameters, in order, carrying the fields' texts.
void TestReferral::addressParsesBackIntoTheFields()
{
    QStringList texts = {
        "",
        " ",
        "Ann",
        "Tom & Jerry",
        "a=b",
        "&taf1=x",
        "x&page=home-page",
        "#top",
        "?",
        "a+b",
        "100%",
        "%",
        "%zz",
        "%2",
        "%26",
        "\r\n",
        "Your Message\r\n",
        "\t",
        "/:@",
        "http://other.example/?q=1#f",
        "'\"<>[]{}|\\^`;,!*()$",
        QStringLiteral("J\u00fcrgen"),
        QStringLiteral("\U0001F600\U0001F469\u200D\U0001F4BB"),
        QStringLiteral("\u00a0\u3000\u2028"),
        QStringLiteral("\u202eevil"),
        QString(QChar(0x7f)),
        QString(QChar(0x01)),
        QString(QChar(0xfeff)),
    };

    // And random texts drawn from printable ASCII, control characters and a
    // few letters from beyond it, the seed fixed so that a failure repeats.
    QRandomGenerator random(20261208);
    const char32_t extra[] = { 0xe9, 0x20ac, 0x4f60, 0x1F600, 0x10FFFD, 0xfffd, 0x85 };
    for (int i = 0; i < 500; ++i) {
        QString text;
        const int length = random.bounded(0, 12);
        for (int c = 0; c < length; ++c) {
            const int pick = random.bounded(0, 10);
            char32_t code;
            if (pick < 7)
                code = static_cast<char32_t>(random.bounded(0x20, 0x7f));
            else if (pick < 8)
                code = static_cast<char32_t>(random.bounded(0x01, 0x20));
            else
                code = extra[random.bounded(0, int(std::size(extra)))];
            text += QString::fromUcs4(&code, 1);
        }
        texts << text;
    }

    for (qsizetype i = 0; i < texts.size(); ++i) {
        site::TellAFriend fields;
        fields.ReferrerName = texts[i];
        fields.ReferrerEmail = texts[(i + 1) % texts.size()];
        fields.ReferralMessage = texts[(i + 2) % texts.size()];
        fields.FriendName = texts[(i + 3) % texts.size()];
        fields.FriendEmail = texts[(i + 4) % texts.size()];
        const QString address = site::buildReferralAddress(fields);
        const QByteArray shown = QStringLiteral("text %1: %2").arg(i).arg(address).toUtf8();

        // Plain printable ASCII: nothing the shell or the browser could cut at.
        for (const QChar c : address)
            QVERIFY2(c.unicode() > 0x20 && c.unicode() < 0x7f, shown.constData());

        const QUrl url(address, QUrl::StrictMode);
        QVERIFY2(url.isValid(), shown.constData());
        QVERIFY2(!url.hasFragment(), shown.constData());
        QCOMPARE(url.adjusted(QUrl::RemoveQuery).toString(), site::SiteBaseAddress() + "ssd.php");

        const QList<QPair<QString, QString>> expected = {
            { "page", "zorq-refer-a-friend" },
            { "taf1", fields.ReferrerName },
            { "taf2", fields.ReferrerEmail },
            { "taf3", fields.ReferralMessage },
            { "taf4", fields.FriendName },
            { "taf5", fields.FriendEmail },
            { "taf6", site::SiteBaseAddress() },
        };
        const QUrlQuery query(url);
        QCOMPARE(query.queryItems(QUrl::FullyDecoded), expected);
    }
}

void TestReferral::everyPassingPressOpensThePageAgain()
{
    FakePlatform platform;
    site::TellAFriend fields = validFields();
    site::SubmitReferral(fields, platform, nullptr);
    const QString first = fields.ReferralAddress;
    site::SubmitReferral(fields, platform, nullptr);
    QCOMPARE(platform.events, QStringList({ "open:" + first, "open:" + first }));

    // A press with changed texts sends the current ones.
    fields.FriendName = QStringLiteral("Carol");
    site::SubmitReferral(fields, platform, nullptr);
    const QString second = referralPage()
        + "&taf1=Ann&taf2=ann@example.com&taf3=Your%20Message%0D%0A&taf4=Carol&taf5=bob@example.org&taf6="
        + site::SiteBaseAddress();
    QCOMPARE(fields.ReferralAddress, second);

    // A failed press in between opens nothing and keeps the last address.
    fields.ReferrerName = QStringLiteral("Your Name");
    site::SubmitReferral(fields, platform, nullptr);
    QCOMPARE(fields.ReferralAddress, second);
    QCOMPARE(platform.events, QStringList({ "open:" + first, "open:" + first, "open:" + second, "message:" + kName }));
    QVERIFY(platform.messages.size() == 1);
}

QTEST_GUILESS_MAIN(TestReferral)
#include "tst_referral.moc"
