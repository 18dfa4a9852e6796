#include "product/product.h"
#include "site/referral.h"
#include "site/site_texts.h"
#include "support/app_fixture.h"
#include "windows/clickable_label.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TestExitScreen : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void appealIsDrawnAtLoad_data();
    void appealIsDrawnAtLoad();
    void placeholders_data();
    void placeholders();
    void messageBoxKeepsItsLineBreak();
    void tabOrder();
    void spaceIsRefusedInEmailBoxesOnly_data();
    void spaceIsRefusedInEmailBoxesOnly();
    void checkBoxOpensTheHomePageOncePerClick();
    void softwaresLink();
    void untouchedFormAsksForProperAddresses();
    void passingSubmissionOpensTheExactAddress();

private:
    std::unique_ptr<AppFixture> f;
    quendril::windows::frmNagScreen2 *screen = nullptr;
    template <typename T> T *child(const char *name) { return AppFixture::child<T>(screen, name); }
    void openScreen(float draw)
    {
        f = std::make_unique<AppFixture>();
        f->platform.randomValues = { 0.0f, draw }; // the offers' draw at start-up, then the appeal's
        f->app->start();
        AppFixture::child<QPushButton>(f->app->openMainWindow(), "cmdExit")->click();
        screen = f->app->openExitScreen();
        QVERIFY(screen && screen->isVisible());
        QVERIFY(AppFixture::activate(screen));
        f->platform.events.clear();
    }
};

void TestExitScreen::init()
{
    openScreen(0.0f);
}

void TestExitScreen::cleanup()
{
    screen = nullptr;
    f.reset();
}

void TestExitScreen::appealIsDrawnAtLoad_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("appeal");
    QTest::newRow("0") << 0.0f << 0;
    QTest::newRow("just under a quarter") << std::nextafter(0.25f, 0.0f) << 0;
    QTest::newRow("a quarter") << 0.25f << 1;
    QTest::newRow("a half") << 0.5f << 2;
    QTest::newRow("just under 1") << std::nextafter(1.0f, 0.0f) << 3;
}

void TestExitScreen::appealIsDrawnAtLoad()
{
    QFETCH(float, draw);
    QFETCH(int, appeal);
    openScreen(draw);
    // Texts that name the site may be set in lines where the address is long;
    // they read whole.
    const auto read = [](QWidget *w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    QCOMPARE(read(child<QLabel>("Label2")), quendril::site::supportAppeal(appeal));
    QVERIFY(read(child<QLabel>("Label2")).contains(quendril::site::siteHost()));
    QCOMPARE(screen->windowTitle(), QStringLiteral(QUENDRIL_CAPTION));
    QCOMPARE(child<QLabel>("lblNagScreen2Caption")->text(), QStringLiteral(QUENDRIL_CAPTION));
    QVERIFY(!child<QLabel>("picNagscreen2Icon")->pixmap().isNull());
    QCOMPARE(read(child<QCheckBox>("Check1")), "Click Here To Visit " + quendril::site::siteHost() + " Now");
    QCOMPARE(screen->focusWidget(), child<QPushButton>("cmdClose"));
}

void TestExitScreen::placeholders_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("onFocus");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("onLeave");

    QTest::newRow("placeholder clears, empty box gets it back") << "txtName"
                                                                << "Your Name"
                                                                << ""
                                                                << ""
                                                                << "Your Name";
    QTest::newRow("spaces around the placeholder") << "txtEmail"
                                                   << "  Your Email Address "
                                                   << ""
                                                   << ""
                                                   << "Your Email Address";
    QTest::newRow("other letter case is text") << "txtFriendName"
                                               << "friend's name"
                                               << "friend's name"
                                               << ""
                                               << "friend's name";
    QTest::newRow("only spaces left") << "txtFriendEmail"
                                      << "Friend's Email Address"
                                      << ""
                                      << "   "
                                      << "Friend's Email Address";
    QTest::newRow("spaces around a name stay") << "txtName"
                                               << "Your Name"
                                               << ""
                                               << "  Bob  "
                                               << "  Bob  ";
    QTest::newRow("a tab is text") << "txtName"
                                   << "\tYour Name"
                                   << "\tYour Name"
                                   << ""
                                   << "\tYour Name";
}

void TestExitScreen::placeholders()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, onFocus);
    QFETCH(QString, typed);
    QFETCH(QString, onLeave);
    auto *line = child<QLineEdit>(box.toLatin1().constData());
    line->setText(before);
    line->setFocus();
    QCOMPARE(line->text(), onFocus);
    if (!typed.isEmpty())
        line->setText(typed);
    child<QPushButton>("cmdClose")->setFocus();
    QCOMPARE(line->text(), onLeave);
}

void TestExitScreen::messageBoxKeepsItsLineBreak()
{
    QCOMPARE(screen->messageText(), QStringLiteral("Your Message\r\n"));
    auto *message = child<QPlainTextEdit>("txtMessage");
    // Seen from the form, the untouched message is not its placeholder.
    message->setFocus();
    QCOMPARE(screen->messageText(), QStringLiteral("Your Message\r\n"));
    message->setPlainText("Your Message");
    child<QPushButton>("cmdClose")->setFocus();
    message->setFocus();
    QCOMPARE(screen->messageText(), QString());
    child<QPushButton>("cmdClose")->setFocus();
    QCOMPARE(screen->messageText(), QStringLiteral("Your Message"));
    // It lies below its frame: it takes the focus but is never seen.
    QVERIFY(!message->visibleRegion().boundingRect().isValid() || message->visibleRegion().isEmpty());
}

void TestExitScreen::tabOrder()
{
    QStringList order;
    QWidget *w = child<QPushButton>("cmdClose");
    for (int i = 0; i < 9; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled())
            w = w->nextInFocusChain();
    }
    QCOMPARE(order,
        QStringList({ "cmdClose", "Check1", "txtName", "cmdSubmit", "txtEmail", "txtFriendEmail", "txtFriendName",
            "txtMessage", "cmdClose" }));
}

void TestExitScreen::spaceIsRefusedInEmailBoxesOnly_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("refused");
    QTest::newRow("your e-mail") << "txtEmail" << true;
    QTest::newRow("friend's e-mail") << "txtFriendEmail" << true;
    QTest::newRow("your name") << "txtName" << false;
    QTest::newRow("friend's name") << "txtFriendName" << false;
}

void TestExitScreen::spaceIsRefusedInEmailBoxesOnly()
{
    QFETCH(QString, box);
    QFETCH(bool, refused);
    auto *line = child<QLineEdit>(box.toLatin1().constData());
    line->setFocus();
    line->setText("ab");
    QTest::keyClick(line, Qt::Key_Space);
    QTest::keyClick(line, Qt::Key_C);
    if (refused) {
        QCOMPARE(line->text(), QStringLiteral("abc"));
        QCOMPARE(f->platform.events, QStringList({ "message:Email Address Cannot Contain Space" }));
        QCOMPARE(f->platform.messages.first().icon, quendril::platform::Platform::MessageIcon::Stop);
        QCOMPARE(f->platform.messages.first().owner, static_cast<QWidget *>(screen));
        QCOMPARE(screen->focusWidget(), line);
    } else {
        QCOMPARE(line->text(), QStringLiteral("ab c"));
        QVERIFY(f->platform.events.isEmpty());
    }
}

void TestExitScreen::checkBoxOpensTheHomePageOncePerClick()
{
    auto *check = child<QCheckBox>("Check1");
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    QVERIFY(!check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    QVERIFY(!check->isChecked());
    QCOMPARE(f->platform.events, QStringList(2, "open:" + AppFixture::page(u"home-page")));
}

void TestExitScreen::softwaresLink()
{
    const QString textBefore = screen->nameText();
    QTest::mouseClick(child<quendril::windows::ClickableLabel>("lblGoToHome"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f->platform.events, QStringList({ "open:" + AppFixture::page(u"talvexsoftwares") }));
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->nameText(), textBefore);
}

void TestExitScreen::untouchedFormAsksForProperAddresses()
{
    QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton);
    QCOMPARE(f->platform.events, QStringList({ "message:Please Enter Proper Email Address" }));
    QCOMPARE(f->platform.messages.first().icon, quendril::platform::Platform::MessageIcon::Stop);
    // The fields hold what the boxes held, spaces removed, even after a failed check.
    QCOMPARE(f->app->tellAFriend().ReferrerName, QStringLiteral("Your Name"));
    QCOMPARE(f->app->tellAFriend().ReferralMessage, QStringLiteral("Your Message\r\n"));

    // With proper addresses the referral's own checks speak for the screen as well.
    child<QLineEdit>("txtEmail")->setText("tom@cartoon.example");
    child<QLineEdit>("txtFriendEmail")->setText("jerry@cartoon.example");
    QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton);
    QCOMPARE(f->platform.messages.size(), 2);
    QCOMPARE(f->platform.messages.last().text, QStringLiteral("Please Enter Your Name"));
    for (const FakePlatform::Message &message : f->platform.messages)
        QCOMPARE(message.owner, static_cast<QWidget *>(screen));
}

void TestExitScreen::passingSubmissionOpensTheExactAddress()
{
    child<QLineEdit>("txtName")->setText("  Tom & Jerry ");
    child<QLineEdit>("txtEmail")->setText("tom@cartoon.example");
    child<QLineEdit>("txtFriendName")->setText("Jürgen #1");
    child<QLineEdit>("txtFriendEmail")->setText("j=1@x.example");
    // Pressing the button takes the focus from the last box first.
    child<QLineEdit>("txtFriendEmail")->setFocus();
    QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("cmdSubmit"), Qt::LeftButton);

    const QString expected = quendril::site::SiteBaseAddress()
        + "ssd.php?page=zorq-refer-a-friend&taf1=Tom%20%26%20Jerry&taf2=tom@cartoon.example"
          "&taf3=Your%20Message%0D%0A&taf4=J%C3%BCrgen%20%231&taf5=j%3D1@x.example&taf6="
        + quendril::site::SiteBaseAddress();
    QCOMPARE(f->platform.events, QStringList(2, "open:" + expected));
    QCOMPARE(f->app->tellAFriend().ReferralAddress, expected);
    // The boxes keep their texts and the screen stays.
    QCOMPARE(screen->nameText(), QStringLiteral("  Tom & Jerry "));
    QVERIFY(screen->isVisible());
    QVERIFY(f->platform.endRequests.isEmpty());
}

QTEST_MAIN(TestExitScreen)
#include "tst_exit_screen.moc"
