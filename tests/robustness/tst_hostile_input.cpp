#include "core/entry_rules.h"
#include "support/referral_query.h"
#include "site/referral.h"
#include "support/app_fixture.h"
#include "windows/form_support.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

// Whatever a user pastes into the number box or the refer-a-friend boxes: no
// crash, no reading unless the box holds nine digits, and every
// refer-a-friend address fully encoded.
class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pastedIntoTheNumberBox_data();
    void pastedIntoTheNumberBox();
    void pastedIntoAReferralBox_data();
    void pastedIntoAReferralBox();

private:
    std::unique_ptr<AppFixture> f;
};

namespace {

QString repeated(const QString &piece, qsizetype length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    text.truncate(length);
    return text;
}

QString controlCharacters()
{
    QString text;
    for (char16_t c = 1; c < 0x20; ++c)
        text += QChar(c);
    return text + QChar(0x7f) + QChar(0x85) + QChar(0x2028) + QChar(0x2029);
}

const QList<std::pair<const char *, QString>> &hostileTexts()
{
    static const QList<std::pair<const char *, QString>> texts = {
        { "10,000 digits", repeated(QStringLiteral("1234567890"), 10000) },
        { "10,000 letters", repeated(QStringLiteral("Lorem ipsum dolor "), 10000) },
        { "emoji", QStringLiteral("😀👍🏽👨‍👩‍👧‍👦🇩🇪") },
        { "emoji among digits", QStringLiteral("1😀2345678") },
        { "right to left", QStringLiteral("שלום עולם مرحبا 123") },
        { "right-to-left override", QStringLiteral("\u202e123456789") },
        { "arabic-indic digits", QStringLiteral("١٢٣٤٥٦٧٨٩") },
        { "fullwidth digits", QStringLiteral("１２３４５６７８９") },
        { "NUL", QString::fromUtf16(u"1234\u00006789a\u0000b", 12) },
        { "control characters", controlCharacters() },
        { "lone surrogates", QString(QChar(0xd800)) + QStringLiteral("12345678") + QChar(0xdc00) },
        { "byte order mark", QStringLiteral("\ufeff123456789") },
        { "query separators", QStringLiteral("&taf6=evil#frag?x=%41+y") },
        { "10,000 of everything", repeated(QStringLiteral("😀ש\u202e\u0001&=#%+ 9"), 10000) },
    };
    return texts;
}

void paste(QWidget *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->clear();
        line->paste();
    } else if (auto *editor = qobject_cast<QPlainTextEdit *>(box)) {
        editor->clear();
        editor->paste();
    }
}

bool isNineDigits(const QString &text)
{
    return text.size() == 9 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

void TestHostileInput::init()
{
    quendril::windows::registerFontSubstitutes();
    f = std::make_unique<AppFixture>();
    f->app->start();
    QVERIFY(f->app->openMainWindow());
}

void TestHostileInput::cleanup()
{
    f.reset();
}

void TestHostileInput::pastedIntoTheNumberBox_data()
{
    QTest::addColumn<QString>("text");
    for (const auto &[name, text] : hostileTexts())
        QTest::newRow(name) << text;
}

void TestHostileInput::pastedIntoTheNumberBox()
{
    QFETCH(QString, text);
    quendril::windows::frmMain *main = f->app->openMainWindow();
    auto *txtNumber = AppFixture::child<QLineEdit>(main, "txtNumber");
    paste(txtNumber, text);
    const QString entry = txtNumber->text();
    QVERIFY(entry.size() <= 9);
    f->platform.events.clear();

    AppFixture::child<QPushButton>(main, "cmdNext")->click();
    quendril::windows::frmDisplay *display = f->app->openResultWindow();
    if (!isNineDigits(entry) || quendril::core::checkEntry(entry) != quendril::core::EntryVerdict::Accepted) {
        QVERIFY2(!display, qPrintable(entry));
        QCOMPARE(f->platform.messages.size(), 1);
        QVERIFY(main->isVisible());
        return;
    }
    QVERIFY(display && display->isVisible());
    int sum = 4;
    for (const QChar c : entry)
        sum += c.unicode() - u'0';
    QCOMPARE(display->readingNumber(), QString::number(sum));
}

void TestHostileInput::pastedIntoAReferralBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    for (const char *box : { "txtName", "txtEmail", "txtMessage", "txtFriendName", "txtFriendEmail" }) {
        for (const auto &[name, text] : hostileTexts())
            QTest::newRow((QByteArray(box) + ", " + name).constData()) << box << text;
    }
}

void TestHostileInput::pastedIntoAReferralBox()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    quendril::windows::frmNagScreen2 &screen = f->app->exitScreen();
    screen.show();
    const QList<std::pair<const char *, QString>> typical = {
        { "txtName", "Tom" },
        { "txtEmail", "tom@cartoon.example" },
        { "txtMessage", "Hello" },
        { "txtFriendName", "Jerry" },
        { "txtFriendEmail", "jerry@mouse.example" },
    };
    for (const auto &[name, value] : typical)
        paste(AppFixture::child<QWidget>(&screen, name), value);
    auto *target = AppFixture::child<QWidget>(&screen, box.toLatin1().constData());
    paste(target, text);
    // An address needs its at sign and dot, and the two must differ.
    if (box.endsWith("Email"))
        static_cast<QLineEdit *>(target)->insert(QStringLiteral("@") + box + QStringLiteral(".example"));
    f->platform.events.clear();

    AppFixture::child<QPushButton>(&screen, "cmdSubmit")->click();
    QCOMPARE(f->platform.messages.size(), 0);
    QCOMPARE(f->platform.opened.size(), 1);
    const auto parameters = quendril::check::queryParameters(f->platform.opened.first());
    QVERIFY2(parameters, qPrintable(f->platform.opened.first().left(300)));
    const QStringList fields = { screen.nameText(), screen.emailText(), screen.messageText(), screen.friendNameText(),
        screen.friendEmailText() };
    QCOMPARE(parameters->size(), 7);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QCOMPARE(parameters->at(i + 1).name, QStringLiteral("taf%1").arg(i + 1));
        QCOMPARE(parameters->at(i + 1).value, quendril::check::afterUtf8(quendril::site::trimSpaces(fields[i])));
    }
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
