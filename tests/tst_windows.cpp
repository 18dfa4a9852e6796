#include "product/product.h"
#include "site/site_texts.h"
#include "support/app_fixture.h"
#include "windows/clickable_label.h"
#include "windows/fitted_text.h"
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
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace windows = quendril::windows;

namespace {
const QString kDamaged = QStringLiteral("It may not be found and even if it is found it will be badly damaged.");

// The windows are drawn for the default site address; a longer one may make them grow.
bool drawnForThisSite()
{
    return quendril::site::siteRoot() == QStringLiteral(QUENDRIL_DEFAULT_SITE_ROOT);
}

QString where(const QWidget *window, const QWidget *control)
{
    return window->objectName() + u'/' + control->objectName();
}

// Texts that do not show whole: wider or taller than their place in their
// control, or reaching past a container or the window.
QStringList cutOffTexts(QWidget *window)
{
    QStringList cut;
    const auto check = [&](QWidget *control, QSize needed, QRect room) {
        if (needed.width() > room.width() || needed.height() > room.height()) {
            cut << QStringLiteral("%1 needs %2x%3, has %4x%5")
                       .arg(where(window, control))
                       .arg(needed.width())
                       .arg(needed.height())
                       .arg(room.width())
                       .arg(room.height());
            return;
        }
        QRect shown = QStyle::alignedRect(control->layoutDirection(), Qt::AlignCenter, needed, room);
        for (QWidget *inner = control; inner != window; inner = inner->parentWidget()) {
            shown.translate(inner->pos());
            if (!inner->parentWidget()->rect().contains(shown))
                cut << where(window, control) + " reaches past " + inner->parentWidget()->objectName();
        }
    };
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(window))
            continue;
        QSize needed = label->sizeHint();
        if (label->wordWrap()) {
            // A word wider than the label sticks out of its wrapped lines.
            const int flags = Qt::TextWordWrap | label->alignment();
            const int wrapped = label->fontMetrics().boundingRect(label->rect(), flags, label->text()).width();
            needed = QSize(std::max(label->width(), wrapped), label->heightForWidth(label->width()));
        }
        check(label, needed, label->rect());
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(window))
            continue;
        QSize needed(0, 0);
        for (const QString &line : button->text().remove(u'&').split(u'\n')) {
            needed.setWidth(std::max(needed.width(), button->fontMetrics().horizontalAdvance(line) + 1));
            needed.rheight() += button->fontMetrics().height();
        }
        // A check box's text stands beside its box.
        QStyleOptionButton option;
        option.initFrom(button);
        check(button, needed,
            qobject_cast<QCheckBox *>(button)
                ? button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button)
                : button->rect());
    }
    return cut;
}

// Room given to a text control to see whether its text shows whole as drawn:
// a whole number of screen pixels at every scale the tests run at (1.25 to 2).
constexpr int kRoom = 8;

// The control's place grown on the sides its text's alignment lets grow
// without moving the text: a text drawn whole draws the same with the room.
// A wrapped label only grows up or down, as a wider one wraps otherwise.
QRect withRoom(const QWidget *control)
{
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter; // a check box's text
    bool wraps = false;
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        align = QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        wraps = label->wordWrap();
    }
    QMargins room;
    if (!wraps) {
        room.setLeft(align & (Qt::AlignRight | Qt::AlignHCenter) ? kRoom : 0);
        room.setRight(align & (Qt::AlignLeft | Qt::AlignHCenter) ? kRoom : 0);
    }
    room.setTop(align & (Qt::AlignBottom | Qt::AlignVCenter) ? kRoom : 0);
    room.setBottom(align & (Qt::AlignTop | Qt::AlignVCenter) ? kRoom : 0);
    return control->geometry().marginsAdded(room);
}

// Texts that the screen shows cut off: with room around its control, more
// of the text is drawn. Only the room may change, and only to the control's
// own background where it fills one. This sees what the fonts' metrics do
// not: at a fractional scale, where a text's lines and its control's edges
// are rounded to whole screen pixels each their own way.
QStringList textsCutAsDrawn(QWidget *window)
{
    QStringList cut;
    QList<QWidget *> controls;
    for (QLabel *label : window->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            controls << label;
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        controls << box;
    for (QWidget *control : controls) {
        if (!control->isVisibleTo(window))
            continue;
        const QRect place = control->geometry();
        const QRect room = withRoom(control);
        // Only the control draws there, with room or without; what lies
        // elsewhere may change with the window's activation.
        const qreal scale = window->devicePixelRatioF();
        const QRect seen = QRectF(
            QPointF(control->parentWidget()->mapTo(window, room.topLeft())) * scale, QSizeF(room.size()) * scale)
                               .toAlignedRect();
        // Where the pointer is does not change what is under it, nor what it
        // leaves, while the control grows.
        const bool wasTransparent = control->testAttribute(Qt::WA_TransparentForMouseEvents);
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Other programs' windows can change the window's look between two
        // pictures: the one with room counts once the window looks the same
        // before and after it.
        QImage designed;
        QImage roomy;
        bool held = false;
        for (int tries = 0; !held && tries < 100; ++tries) {
            QCoreApplication::processEvents();
            designed = window->grab().toImage();
            control->setGeometry(room);
            roomy = window->grab().toImage();
            control->setGeometry(place);
            held = window->grab().toImage() == designed;
        }
        control->setAttribute(Qt::WA_TransparentForMouseEvents, wasTransparent);
        if (!held) {
            cut << where(window, control) + " never held still to be drawn";
            continue;
        }
        const QRgb fill = control->autoFillBackground() ? control->palette().color(control->backgroundRole()).rgb() : 0;
        int changed = 0;
        const QRect pixels = seen.intersected(designed.rect());
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QRgb now = roomy.pixel(x, y);
                changed += now != designed.pixel(x, y) && (!fill || now != fill);
            }
        if (changed)
            cut << QStringLiteral("%1 draws %2 more pixels with room").arg(where(window, control)).arg(changed);
    }
    return cut;
}

// Where each control of a window lies in its container.
QHash<QWidget *, QRect> placesIn(QWidget *window)
{
    QHash<QWidget *, QRect> places;
    for (QWidget *control : window->findChildren<QWidget *>())
        places.insert(control, control->geometry());
    return places;
}
} // namespace

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
    void siteAddressOfAnyLengthFits_data();
    void siteAddressOfAnyLengthFits();
    void readingNumberStaysBlackUnderADarkTheme();
    void fontsAreTheDesignedFacesAtTheirExactSizes();
    void faceForDesignedFamily_data();
    void faceForDesignedFamily();

private:
    std::unique_ptr<AppFixture> f;
    windows::frmMain *main() { return f->app->openMainWindow(); }
    QLineEdit *txtNumber() { return AppFixture::child<QLineEdit>(main(), "txtNumber"); }
    QPushButton *cmdNext() { return AppFixture::child<QPushButton>(main(), "cmdNext"); }
    windows::frmDisplay *findObject(const QString &entry)
    {
        txtNumber()->setText(entry);
        cmdNext()->click();
        return f->app->openResultWindow();
    }
};

void TestWindows::init()
{
    windows::registerFontSubstitutes();
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

    windows::frmDisplay *display = f->app->openResultWindow();
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
    windows::frmDisplay *first = findObject("123456789");
    QVERIFY(first);
    AppFixture::child<QAction>(first, "mnuFileBack")->trigger();
    AppFixture::settle();
    QVERIFY(!f->app->openResultWindow());

    windows::frmDisplay *second = findObject("999999998");
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
    QCOMPARE(f->platform.messages.first().icon, quendril::platform::Platform::MessageIcon::Information);
    QCOMPARE(f->platform.messages.first().owner, static_cast<QWidget *>(main()));
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
        auto *label = AppFixture::child<windows::ClickableLabel>(window, control.toLatin1().constData());
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
    QTest::newRow("7: Designer file order") << std::nextafter(1.0f, 0.0f) << "co-brand";
}

void TestWindows::visibleOfferOpensItsPage()
{
    QFETCH(float, draw);
    QFETCH(QString, key);
    f = std::make_unique<AppFixture>();
    f->platform.randomValues = { draw };
    f->app->start();
    auto *frame = AppFixture::child<QFrame>(main(), "Frame5");
    auto *top = qobject_cast<windows::ClickableLabel *>(frame->childAt(QPoint(30, 20)));
    QVERIFY(top);
    f->platform.events.clear();
    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f->platform.opened, QStringList({ AppFixture::page(key) }));

    // The result window is not reordered: the fully-branded offer covers the other.
    windows::frmDisplay *display = findObject("123456789");
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
        windows::frmDisplay *display = findObject("123456789");
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
        windows::frmAbout *about = f->app->openAboutBox();
        QVERIFY(about && about->isVisible() && about->isModal());
        QCOMPARE(about->focusWidget(), AppFixture::child<QPushButton>(about, "cmdOK"));
        QTest::mouseClick(
            AppFixture::child<windows::ClickableLabel>(about, "lblHomePage"), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseClick(
            AppFixture::child<windows::ClickableLabel>(about, "Label5"), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseClick(
            AppFixture::child<windows::ClickableLabel>(about, "lblQtNotice"), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(f->platform.events.count(QStringLiteral("toolkit notice")), 1);
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
            windows::frmAbout *about = f->app->openAboutBox();
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
    // A longer site address than the windows are drawn for can take another
    // line in the board advertisement: its band, and the window, grow by it.
    const auto grown = [](QMainWindow *w) { return AppFixture::child<QFrame>(w, "Frame2")->height(); };
    const int mainGrown = grown(main()) - 41;
    QCOMPARE(clientSize(main()), QSize(488, 385 + mainGrown));
    QCOMPARE(AppFixture::child<QLineEdit>(main(), "txtNumber")->geometry(), QRect(157, 152, 177, 25));
    windows::frmDisplay *display = findObject("123456789");
    const int displayGrown = grown(display) - 49;
    QCOMPARE(clientSize(display), QSize(456, 320 + displayGrown));
    if (drawnForThisSite())
        QCOMPARE(QList<int>({ mainGrown, displayGrown }), QList<int>({ 0, 0 }));
    QCOMPARE(AppFixture::child<QLabel>(display, "lblLostObjectNumber")->geometry(), QRect(204, 32, 49, 41));
    // Nobody can resize them.
    QCOMPARE(display->minimumSize(), display->maximumSize());
    QCOMPARE(main()->minimumSize(), main()->maximumSize());
}

void TestWindows::everyControlHasAnAccessibleName()
{
    windows::frmDisplay *display = findObject("123456789");
    AppFixture::child<QPushButton>(display, "cmdExit")->click(); // brings up the exit screen
    QList<QWidget *> windows = { main(), f->app->openExitScreen() };
    windows::frmDisplay *second = (AppFixture::settle(), findObject("123456789"));
    windows << second;
    for (QWidget *window : windows) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            const bool actionable = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<windows::ClickableLabel *>(w);
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

// With the substitute fonts, every text fits the place its window gives it,
// inside the window: the longest reading included.
void TestWindows::noTextIsClipped()
{
    windows::frmDisplay *display = findObject("123456789");
    display->setReading(f->app->readingState().ReadingTable[12], "84");
    windows::frmAbout about(*f->app);
    QStringList cut;
    for (QWidget *window : QList<QWidget *>({ main(), display, &about, &f->app->exitScreen() }))
        cut << cutOffTexts(window) << textsCutAsDrawn(window);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

// The texts that name the site, for addresses as long as a release may have:
// each shows whole, inside its window, and the windows keep the order of their
// controls (nothing moves sideways, up or onto another).
void TestWindows::siteAddressOfAnyLengthFits_data()
{
    QTest::addColumn<QString>("root");
    QTest::newRow("60 characters with hyphens") << "https://www.a-rather-long-maker-site-name-for-tester.example";
    QTest::newRow("60 characters, one word") << "https://www.averylongmakersitenamewithouthyphensinit.example";
    QTest::newRow("60 wide letters") << "https://www." + QString(40, u'w') + ".example";
}

void TestWindows::siteAddressOfAnyLengthFits()
{
    QFETCH(QString, root);
    QCOMPARE(root.size(), 60);
    windows::frmDisplay *display = findObject("123456789");
    windows::frmAbout about(*f->app);
    windows::frmNagScreen2 &screen = f->app->exitScreen();
    const QList<QWidget *> windows = { main(), display, &about, &screen };
    QList<QHash<QWidget *, QRect>> before;
    for (QWidget *window : windows)
        before << placesIn(window);

    // As the windows set them.
    windows::setFittedText(AppFixture::child<QLabel>(main(), "Label61"), quendril::site::boardAdvertisement(root));
    windows::setFittedText(AppFixture::child<QLabel>(display, "Label61"), quendril::site::boardAdvertisement(root));
    windows::setFittedText(AppFixture::child<QLabel>(&about, "Label1"),
        quendril::site::aboutDescription(QStringLiteral(QUENDRIL_TITLE), root));
    windows::setFittedText(AppFixture::child<QLabel>(&about, "lblHomePage"), quendril::site::homeLinkText(root));
    QStringList appeals;
    for (int k = 0; k < quendril::site::kSupportAppealCount; ++k)
        appeals << quendril::site::supportAppeal(k, root);
    auto *appeal = AppFixture::child<QLabel>(&screen, "Label2");
    for (const QString &text : appeals) {
        windows::setFittedText(appeal, text, appeals);
        const QStringList cut = cutOffTexts(&screen);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }
    auto *visit = AppFixture::child<QCheckBox>(&screen, "Check1");
    windows::setFittedText(visit, quendril::site::visitSiteCaption(root));

    QStringList cut;
    for (QWidget *window : windows)
        cut << cutOffTexts(window);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    for (qsizetype w = 0; w < windows.size(); ++w) {
        const QHash<QWidget *, QRect> after = placesIn(windows[w]);
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            const QRect was = before[w].value(it.key());
            const QString name = where(windows[w], it.key());
            QVERIFY2(it->x() == was.x() && it->width() == was.width() && it->y() >= was.y(), qPrintable(name));
            for (auto other = after.cbegin(); other != after.cend(); ++other) {
                const bool siblings
                    = other.key() != it.key() && other.key()->parentWidget() == it.key()->parentWidget();
                if (siblings && !was.intersects(before[w].value(other.key())))
                    QVERIFY2(!it->intersects(*other), qPrintable(name + " onto " + other.key()->objectName()));
            }
        }
    }
    // A screen reader reads the texts whole, wherever they were broken into lines.
    const auto name
        = [](QWidget *control) { return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name); };
    QCOMPARE(name(visit), quendril::site::visitSiteCaption(root));
    QCOMPARE(name(AppFixture::child<QLabel>(&about, "Label1")),
        quendril::site::aboutDescription(QStringLiteral(QUENDRIL_TITLE), root));
    QCOMPARE(name(AppFixture::child<QLabel>(&about, "lblHomePage")), quendril::site::homeLinkText(root));
    QCOMPARE(name(appeal), appeals.last());
    // Drawn, as the screen shows them (drawing a window first places the
    // parts of its text boxes, so this comes after the places are compared).
    for (QWidget *window : windows)
        cut << textsCutAsDrawn(window);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
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

    windows::frmDisplay *display = findObject("999999998");
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
    windows::frmDisplay *display = findObject("123456789");
    windows::frmAbout about(*f->app);
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

// Which face draws a designed family, by what a machine has: Linux with
// DejaVu Sans, Windows with MS Sans Serif a bitmap font, Wine.
void TestWindows::faceForDesignedFamily_data()
{
    QTest::addColumn<QString>("designed");
    QTest::addColumn<QStringList>("usable");
    QTest::addColumn<QString>("face");
    const QString verdana = QStringLiteral("Verdana");
    const QString msSansSerif = QStringLiteral("MS Sans Serif");
    const QString twin = QStringLiteral("Microsoft Sans Serif");
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    const QString tahoma = QStringLiteral("Tahoma");
    QTest::newRow("Verdana installed") << verdana << QStringList { verdana, twin, dejaVu } << verdana;
    QTest::newRow("Verdana missing on Linux") << verdana << QStringList { dejaVu } << dejaVu;
    QTest::newRow("Verdana missing under Wine") << verdana << QStringList { msSansSerif, tahoma } << tahoma;
    QTest::newRow("the twin is MS Sans Serif's alone") << verdana << QStringList { twin, tahoma } << tahoma;
    QTest::newRow("MS Sans Serif an outline font") << msSansSerif << QStringList { msSansSerif, twin } << msSansSerif;
    QTest::newRow("MS Sans Serif a bitmap font (Windows)") << msSansSerif << QStringList { twin, dejaVu } << twin;
    QTest::newRow("MS Sans Serif missing on Linux") << msSansSerif << QStringList { dejaVu, tahoma } << dejaVu;
    QTest::newRow("nothing to stand in") << msSansSerif << QStringList() << msSansSerif;
}

void TestWindows::faceForDesignedFamily()
{
    QFETCH(QString, designed);
    QFETCH(QStringList, usable);
    QFETCH(QString, face);
    QCOMPARE(
        windows::faceForDesignedFamily(designed, [&usable](const QString &family) { return usable.contains(family); }),
        face);
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
