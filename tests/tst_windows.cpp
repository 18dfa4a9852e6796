#include "product/product.h"
#include "support/app_fixture.h"
#include "windows/clickable_label.h"
#include "windows/form_support.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QFrame>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

#include <algorithm>

using namespace quendril;

namespace {
const QString kDamaged = QStringLiteral("It may not be found and even if it is found it will be badly damaged.");
}

class TestWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typicalRequestAndBack();
    void secondReadingReplacesTheFirst();
    void refusedEntryLeavesTheWindowAsItWas_data();
    void refusedEntryLeavesTheWindowAsItWas();
    void keyFilter_data();
    void keyFilter();
    void tenthCharacterCannotBeTyped();
    void commandsOpenTheirPages_data();
    void commandsOpenTheirPages();
    void visibleOfferOpensItsPage_data();
    void visibleOfferOpensItsPage();
    void makeMoneyOnlineCannotBeChosen();
    void enterAndEscInTheMainWindow();
    void enterAndEscInTheResultWindow();
    void aboutBoxIsModalAndItsLinksLeaveItOpen();
    void aboutBoxClosesWithEnterAndIsBuiltAfresh();
    void windowsHaveTheirDesignedSize();
    void everyControlHasAnAccessibleName();
    void noTextIsClipped();
    void readingNumberStaysBlackUnderADarkTheme();
    void fontsAreTheDesignedFacesAtTheirExactSizes();

private:
    std::unique_ptr<AppFixture> f;
    frmMain *main() { return f->app->openMainWindow(); }
    QLineEdit *txtNumber() { return AppFixture::child<QLineEdit>(main(), "txtNumber"); }
    QPushButton *cmdNext() { return AppFixture::child<QPushButton>(main(), "cmdNext"); }
    frmDisplay *findObject(const QString &entry)
    {
        txtNumber()->setText(entry);
        cmdNext()->click();
        return f->app->openResultWindow();
    }
};

void TestWindows::init()
{
    forms::registerFontSubstitutes();
    f = std::make_unique<AppFixture>();
    f->app->start();
    QVERIFY(main());
    QVERIFY(QTest::qWaitForWindowExposed(main()));
    f->platform.events.clear();
}

void TestWindows::cleanup()
{
    f.reset();
}

void TestWindows::typicalRequestAndBack()
{
    QTest::keyClicks(txtNumber(), "123456789");
    QCOMPARE(txtNumber()->text(), QStringLiteral("123456789"));
    QTest::mouseClick(cmdNext(), Qt::LeftButton);

    frmDisplay *display = f->app->openResultWindow();
    QVERIFY(display);
    QVERIFY(display->isVisible());
    QVERIFY(main()->isHidden());
    QCOMPARE(display->readingNumber(), QStringLiteral("49"));
    QCOMPARE(display->readingText(), kDamaged);
    QVERIFY(f->platform.messages.isEmpty());
    // The exit screen was created on the way, and stays hidden.
    QVERIFY(f->app->openExitScreen());
    QVERIFY(f->app->openExitScreen()->isHidden());
    QCOMPARE(display->focusWidget(), AppFixture::child<QPushButton>(display, "cmdExit"));

    AppFixture::child<QPushButton>(display, "cmdBack")->click();
    AppFixture::settle();
    QVERIFY(!f->app->openResultWindow());
    QVERIFY(main()->isVisible());
    QCOMPARE(txtNumber()->text(), QStringLiteral("123456789"));
    QVERIFY(f->app->openExitScreen()->isHidden());
    QVERIFY(f->platform.endRequests.isEmpty());
}

void TestWindows::secondReadingReplacesTheFirst()
{
    frmDisplay *first = findObject("123456789");
    QVERIFY(first);
    AppFixture::child<QAction>(first, "mnuFileBack")->trigger();
    AppFixture::settle();
    QVERIFY(!f->app->openResultWindow());

    frmDisplay *second = findObject("999999998");
    QVERIFY(second);
    QCOMPARE(second->readingNumber(), QStringLiteral("84"));
    QCOMPARE(second->readingText(), QStringLiteral("It will be found in some box or case."));
}

void TestWindows::refusedEntryLeavesTheWindowAsItWas_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "Please Enter Number !";
    QTest::newRow("zeros before length") << "0000"
                                         << "You Can't Enter More Than Three Zeros!";
    QTest::newRow("short") << "12345678"
                           << "Please Enter A 9 Digit Numbers!";
    QTest::newRow("same digit") << "111111111"
                                << "You Can't Enter Same Digit Numbers!";
    QTest::newRow("space passes the rules, not the sum") << "1234 5678"
                                                         << "Please Enter Only Numbers";
    QTest::newRow("pasted letters") << "12345678x"
                                    << "Please Enter Only Numbers";
}

void TestWindows::refusedEntryLeavesTheWindowAsItWas()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    AppFixture::child<QPushButton>(main(), "cmdExit")->setFocus();
    txtNumber()->setText(entry);
    cmdNext()->click();

    QCOMPARE(f->platform.events, QStringList({ "message:" + message }));
    QCOMPARE(f->platform.messages.first().icon, Platform::MessageIcon::Information);
    QVERIFY(main()->isVisible());
    QCOMPARE(txtNumber()->text(), entry);
    QCOMPARE(main()->focusWidget(), txtNumber());
    QVERIFY(!f->app->openResultWindow());
}

void TestWindows::keyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("refused");

    // The box holds "12" before each key.
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7"
                           << "127" << false;
    QTest::newRow("space") << int(Qt::Key_Space) << 0 << " "
                           << "12 " << false;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b"
                               << "1" << false;
    QTest::newRow("arrow, no character") << int(Qt::Key_Left) << 0 << ""
                                         << "12" << false;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a"
                            << "12" << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << "-"
                           << "12" << true;
    QTest::newRow("full stop") << int(Qt::Key_Period) << 0 << "."
                               << "12" << true;
    QTest::newRow("ctrl+v as X11 sends it") << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16"
                                            << "12" << true;
    QTest::newRow("ctrl+v without text") << int(Qt::Key_V) << int(Qt::ControlModifier) << ""
                                         << "12" << true;
    QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier) << "\x18"
                            << "12" << true;
    // Alt with a letter that is no access key would type the letter: it is refused too.
    QTest::newRow("alt+q") << int(Qt::Key_Q) << int(Qt::AltModifier) << "q"
                           << "12" << true;
}

void TestWindows::keyFilter()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(bool, refused);
    QApplication::clipboard()->setText(QStringLiteral("999"));
    txtNumber()->setText("12");
    txtNumber()->setFocus();
    AppFixture::sendKey(txtNumber(), Qt::Key(key), Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(txtNumber()->text(), after);
    const QStringList expected = refused ? QStringList({ "message:Please Enter Only Numbers" }) : QStringList();
    QCOMPARE(f->platform.events, expected);
    QCOMPARE(main()->focusWidget(), txtNumber());
}

void TestWindows::tenthCharacterCannotBeTyped()
{
    QTest::keyClicks(txtNumber(), "1234567890");
    QCOMPARE(txtNumber()->text(), QStringLiteral("123456789"));
    // Pasted text is not filtered, but is cut to what fits.
    txtNumber()->clear();
    txtNumber()->insert(QStringLiteral("98765432100"));
    QCOMPARE(txtNumber()->text(), QStringLiteral("987654321"));
    QVERIFY(f->platform.events.isEmpty());
}

void TestWindows::commandsOpenTheirPages_data()
{
    QTest::addColumn<bool>("inResultWindow");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    for (const bool result : { false, true }) {
        const char *w = result ? "result" : "main";
        QTest::addRow("%s Label61", w) << result << "Label61"
                                       << "home-page";
        QTest::addRow("%s mnuVisit", w) << result << "mnuVisit"
                                        << "home-page";
        QTest::addRow("%s mnuOnline", w) << result << "mnuOnline"
                                         << "help-web-page";
        QTest::addRow("%s mnuUpdate", w) << result << "mnuUpdate"
                                         << "download-web-page";
        QTest::addRow("%s mnuDonate", w) << result << "mnuDonate"
                                         << "donate";
        QTest::addRow("%s lblFullBrand", w) << result << "lblFullBrand"
                                            << "fully-branded";
        QTest::addRow("%s lblCobrand", w) << result << "lblCobrand"
                                          << "co-brand";
    }
    QTest::newRow("main Label2") << false << "Label2"
                                 << "fully-branded";
}

void TestWindows::commandsOpenTheirPages()
{
    QFETCH(bool, inResultWindow);
    QFETCH(QString, control);
    QFETCH(QString, key);
    QWidget *window = main();
    if (inResultWindow) {
        window = findObject("123456789");
        f->platform.events.clear();
    }
    QWidget *focusBefore = window->focusWidget();

    if (auto *action = window->findChild<QAction *>(control)) {
        action->trigger();
    } else {
        auto *label = AppFixture::child<ClickableLabel>(window, control.toLatin1().constData());
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    }
    QCOMPARE(f->platform.events, QStringList({ "open:" + AppFixture::page(key) }));
    // The window itself does not change.
    QVERIFY(window->isVisible());
    QCOMPARE(window->focusWidget(), focusBefore);
    QCOMPARE(f->app->openResultWindow() != nullptr, inResultWindow);
}

void TestWindows::visibleOfferOpensItsPage_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<QString>("key");
    QTest::newRow("1: co-branding in front") << 0.0f << "co-brand";
    QTest::newRow("2: fully branded in front") << 0.25f << "fully-branded";
    QTest::newRow("7: design order") << std::nextafter(1.0f, 0.0f) << "co-brand";
}

void TestWindows::visibleOfferOpensItsPage()
{
    QFETCH(float, draw);
    QFETCH(QString, key);
    f = std::make_unique<AppFixture>();
    f->platform.randomValues = { draw };
    f->app->start();
    auto *frame = AppFixture::child<QFrame>(main(), "Frame5");
    auto *top = qobject_cast<ClickableLabel *>(frame->childAt(QPoint(30, 20)));
    QVERIFY(top);
    f->platform.events.clear();
    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f->platform.opened, QStringList({ AppFixture::page(key) }));

    // The result window is not reordered: the fully-branded offer covers the other.
    frmDisplay *display = findObject("123456789");
    auto *resultTop = AppFixture::child<QFrame>(display, "Frame5")->childAt(QPoint(200, 30));
    QCOMPARE(resultTop->objectName(), QStringLiteral("lblFullBrand"));
}

void TestWindows::makeMoneyOnlineCannotBeChosen()
{
    for (QWidget *window : { static_cast<QWidget *>(main()), static_cast<QWidget *>(findObject("123456789")) }) {
        auto *item = AppFixture::child<QAction>(window, "mnuMakeMoneyOnline");
        QVERIFY(!item->isEnabled());
        QVERIFY(AppFixture::child<QMenuBar>(window, "menuBar")->actions().contains(item));
        item->trigger();
    }
    QVERIFY(f->platform.opened.isEmpty());
}

void TestWindows::enterAndEscInTheMainWindow()
{
    QVERIFY(AppFixture::activate(main()));
    txtNumber()->setFocus();
    // Esc is the cancel key of Find Object: it never reaches the key filter.
    QTest::keyClick(txtNumber(), Qt::Key_Escape);
    QCOMPARE(f->platform.events, QStringList({ "message:Please Enter Number !" }));

    QTest::keyClicks(txtNumber(), "123456789");
    QTest::keyClick(txtNumber(), Qt::Key_Return);
    QVERIFY(f->app->openResultWindow());
    QCOMPARE(f->app->openResultWindow()->readingNumber(), QStringLiteral("49"));
}

void TestWindows::enterAndEscInTheResultWindow()
{
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Escape }) {
        f = std::make_unique<AppFixture>();
        f->app->start();
        frmDisplay *display = findObject("123456789");
        QVERIFY(AppFixture::activate(display));
        QTest::keyClick(display->focusWidget(), key);
        AppFixture::settle();
        // Exit, not Back: the result window closes and the exit screen comes up.
        QVERIFY(!f->app->openResultWindow());
        QVERIFY(f->app->openExitScreen() && f->app->openExitScreen()->isVisible());
        QVERIFY(main()->isHidden());
    }
}

void TestWindows::aboutBoxIsModalAndItsLinksLeaveItOpen()
{
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
        frmAbout *about = f->app->openAboutBox();
        QVERIFY(about && about->isVisible() && about->isModal());
        QCOMPARE(about->focusWidget(), AppFixture::child<QPushButton>(about, "cmdOK"));
        QTest::mouseClick(AppFixture::child<ClickableLabel>(about, "lblHomePage"), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseClick(AppFixture::child<ClickableLabel>(about, "Label5"), Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(about->isVisible());
        AppFixture::child<QPushButton>(about, "cmdOK")->click();
        checked = true;
    });
    AppFixture::child<QAction>(main(), "mnuAbout")->trigger();
    QVERIFY(checked);
    QVERIFY(!f->app->openAboutBox());
    QCOMPARE(f->platform.opened, QStringList({ AppFixture::page(u"home-page"), AppFixture::page(u"fully-branded") }));
    QVERIFY(main()->isVisible());
}

void TestWindows::aboutBoxClosesWithEnterAndIsBuiltAfresh()
{
    QStringList titles;
    for (int opening = 0; opening < 2; ++opening) {
        QTimer::singleShot(0, this, [&] {
            frmAbout *about = f->app->openAboutBox();
            QVERIFY(about);
            titles << about->windowTitle();
            about->setWindowTitle("changed"); // must not survive into the next opening
            QVERIFY(AppFixture::activate(about));
            QTest::keyClick(about->focusWidget(), Qt::Key_Return);
        });
        AppFixture::child<QAction>(main(), "mnuAbout")->trigger();
        QVERIFY(!f->app->openAboutBox());
    }
    QCOMPARE(titles, QStringList({ QUENDRIL_CAPTION, QUENDRIL_CAPTION }));
}

void TestWindows::windowsHaveTheirDesignedSize()
{
    const auto clientSize = [](QMainWindow *w) { return w->centralWidget()->size(); };
    QCOMPARE(clientSize(main()), QSize(488, 385));
    QCOMPARE(AppFixture::child<QLineEdit>(main(), "txtNumber")->geometry(), QRect(157, 152, 177, 25));
    frmDisplay *display = findObject("123456789");
    QCOMPARE(clientSize(display), QSize(456, 320));
    QCOMPARE(AppFixture::child<QLabel>(display, "lblLostObjectNumber")->geometry(), QRect(204, 32, 49, 41));
    // Nobody can resize them.
    QCOMPARE(display->minimumSize(), display->maximumSize());
    QCOMPARE(main()->minimumSize(), main()->maximumSize());
}

void TestWindows::everyControlHasAnAccessibleName()
{
    frmDisplay *display = findObject("123456789");
    AppFixture::child<QPushButton>(display, "cmdExit")->click(); // brings up the exit screen
    QList<QWidget *> windows = { main(), f->app->openExitScreen() };
    frmDisplay *second = (AppFixture::settle(), findObject("123456789"));
    windows << second;
    for (QWidget *window : windows) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            const bool actionable = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<ClickableLabel *>(w);
            if (!actionable || !w->isVisibleTo(window))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
    }
    // The reading itself is what a screen reader announces for the result labels.
    auto *location = AppFixture::child<QLabel>(second, "lblLostObjectLocation");
    QCOMPARE(QAccessible::queryAccessibleInterface(location)->text(QAccessible::Name), kDamaged);
    auto *number = AppFixture::child<QLabel>(second, "lblLostObjectNumber");
    QCOMPARE(QAccessible::queryAccessibleInterface(number)->text(QAccessible::Name), QStringLiteral("49"));
}

// With the substitute fonts, every text fits the place its window gives it:
// the longest reading included.
void TestWindows::noTextIsClipped()
{
    frmDisplay *display = findObject("123456789");
    display->setReading(f->app->readingState().ReadingTable[12], "84");
    frmAbout about(*f->app);
    const QList<QWidget *> windows = { main(), display, &about, &f->app->exitScreen() };
    for (QWidget *window : windows) {
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (label->text().isEmpty() || !label->isVisibleTo(window))
                continue;
            const QSize needed
                = label->wordWrap() ? QSize(label->width(), label->heightForWidth(label->width())) : label->sizeHint();
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                qPrintable(window->objectName() + "/" + label->objectName()));
        }
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            const int textWidth = button->fontMetrics().horizontalAdvance(button->text().remove(u'&'));
            QVERIFY2(textWidth < button->width(), qPrintable(window->objectName() + "/" + button->objectName()));
        }
    }
}

// A dark desktop theme gives labels light text, which would vanish on the
// reading number's light-yellow box; the number keeps its black.
void TestWindows::readingNumberStaysBlackUnderADarkTheme()
{
    const QPalette original = QApplication::palette();
    const auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
    QPalette dark = original;
    for (const auto role : { QPalette::Window, QPalette::Base, QPalette::Button })
        dark.setColor(role, QColor(32, 32, 32));
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(role, Qt::white);
    QApplication::setPalette(dark);

    frmDisplay *display = findObject("999999998");
    const QImage picture = AppFixture::child<QLabel>(display, "lblLostObjectNumber")->grab().toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y) & RGB_MASK];
    }
    const QRgb box = qRgb(255, 255, 192) & RGB_MASK;
    QCOMPARE(std::max_element(counts.cbegin(), counts.cend()).key(), box);
    QVERIFY(counts.value(qRgb(0, 0, 0) & RGB_MASK) >= 20);
    // Black text shades towards the box's colour, never above its blue.
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        QVERIFY2(qBlue(it.key()) <= 192, qPrintable(QColor(it.key()).name()));
}

void TestWindows::fontsAreTheDesignedFacesAtTheirExactSizes()
{
    frmDisplay *display = findObject("123456789");
    frmAbout about(*f->app);
    const QList<QWidget *> windows = { main(), display, &about, &f->app->exitScreen() };
    // Whatever faces Verdana and MS Sans Serif come out as on this machine.
    const QStringList designedFaces = { QFontInfo(QFont(QStringLiteral("Verdana"))).family(),
        QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family() };
    int sized = 0;
    for (QWidget *window : windows) {
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            const QString where = window->objectName() + "/" + widget->objectName();
            if (widget->testAttribute(Qt::WA_SetFont))
                QVERIFY2(designedFaces.contains(QFontInfo(widget->font()).family()), qPrintable(where));
            if (const QVariant size = widget->property("pointSizeF"); size.isValid()) {
                QCOMPARE(widget->font().pointSizeF(), size.toDouble());
                ++sized;
            }
        }
    }
    QVERIFY(sized > 0);
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
