#include "app/frmNagScreen.h"
#include "settings/settings_store.h"
#include "support/app_fixture.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QStringList visibleWindows()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            names << w->objectName();
    }
    names.sort();
    return names;
}

QString storedDate(FakePlatform &platform)
{
    return quendril::settings::DecodeSetting(
        platform.store.value("quendril/Settings/" + quendril::settings::EncodeSetting(u"Duration")));
}

} // namespace

class TestLife : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void normalStartShowsTheMainWindowOnly();
    void secondCopyShowsItsMessageAndEnds();
    void dueReminderComesBeforeTheMainWindow_data();
    void dueReminderComesBeforeTheMainWindow();
    void coBrandDraw_data();
    void coBrandDraw();
    void exitFromTheMainWindow_data();
    void exitFromTheMainWindow();
    void exitFromTheResultWindow();
    void backThenExit();
    void exitScreenCloseBoxEndsLikeExit();
    void endWithTheAboutBoxOpen();
    void endFromTheStartupWindowCreatesNothing();

private:
    std::unique_ptr<AppFixture> f;
    quendril::app::QuendrilApp &app() { return *f->app; }
    void startApp(const std::function<void(FakePlatform &)> &prepare = {})
    {
        f = std::make_unique<AppFixture>();
        if (prepare)
            prepare(f->platform);
        app().start();
    }
    void pressFindObject(const QString &entry)
    {
        AppFixture::child<QLineEdit>(app().openMainWindow(), "txtNumber")->setText(entry);
        AppFixture::child<QPushButton>(app().openMainWindow(), "cmdNext")->click();
    }
};

void TestLife::cleanup()
{
    f.reset();
}

void TestLife::normalStartShowsTheMainWindowOnly()
{
    startApp();
    QCOMPARE(visibleWindows(), QStringList({ "frmMain" }));
    QVERIFY(!app().openExitScreen());
    QVERIFY(!app().openResultWindow());
    // Seeded once before the reminder; the first run stores today silently; one draw for the offers.
    const QString today = quendril::settings::EncodeSetting(
        QLocale(QLocale::English, QLocale::UnitedStates).toString(f->platform.todayValue, QLocale::ShortFormat));
    QCOMPARE(f->platform.events, QStringList({ "seed", "write:Gxudwlrq=" + today, "random" }));
    QVERIFY(f->platform.endRequests.isEmpty());
}

void TestLife::secondCopyShowsItsMessageAndEnds()
{
    QStringList windowsDuringMessage;
    startApp([&](FakePlatform &platform) {
        platform.otherCopy = true;
        platform.whileMessageShown = [&](const QString &) { windowsDuringMessage = visibleWindows(); };
    });
    QCOMPARE(f->platform.events, QStringList({ "message:Application is already running", "end:0" }));
    QCOMPARE(f->platform.messages.first().icon, quendril::platform::Platform::MessageIcon::Information);
    QCOMPARE(f->platform.messages.first().owner, nullptr);
    QVERIFY(windowsDuringMessage.isEmpty());
    QVERIFY(!app().openMainWindow());
    QVERIFY(!app().openExitScreen());
    QVERIFY(f->platform.store.isEmpty());
}

void TestLife::dueReminderComesBeforeTheMainWindow_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestLife::dueReminderComesBeforeTheMainWindow()
{
    QFETCH(bool, yes);
    bool mainWindowDuringQuestion = true;
    startApp([&](FakePlatform &platform) {
        platform.answerYes = yes;
        const QLocale locale = platform.locale;
        platform.store.insert("quendril/Settings/Gxudwlrq",
            quendril::settings::EncodeSetting(locale.toString(platform.todayValue.addDays(-15), QLocale::ShortFormat)));
        platform.whileMessageShown = [&](const QString &) { mainWindowDuringQuestion = f->app->openMainWindow(); };
    });
    QCOMPARE(f->platform.questions.size(), 1);
    QVERIFY(!mainWindowDuringQuestion);
    QCOMPARE(storedDate(f->platform), f->platform.locale.toString(f->platform.todayValue, QLocale::ShortFormat));
    const QStringList expectedOpened = yes ? QStringList({ AppFixture::page(u"download-web-page") }) : QStringList();
    QCOMPARE(f->platform.opened, expectedOpened);
    QCOMPARE(visibleWindows(), QStringList({ "frmMain" }));
}

void TestLife::coBrandDraw_data()
{
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("inFront");
    QTest::newRow("0") << 0.0f << 1 << "lblCobrand";
    QTest::newRow("0.25") << 0.25f << 2 << "lblFullBrand";
    QTest::newRow("0.5") << 0.5f << 4 << "lblFullBrand";
    QTest::newRow("0.75") << 0.75f << 6 << "lblFullBrand";
    QTest::newRow("just under 1") << std::nextafter(1.0f, 0.0f) << 7 << "lblCobrand";
    QTest::newRow("0.4 gives 3") << 0.4f << 3 << "lblCobrand";
}

void TestLife::coBrandDraw()
{
    QFETCH(float, draw);
    QFETCH(int, number);
    QFETCH(QString, inFront);
    startApp([&](FakePlatform &platform) { platform.randomValues = { draw }; });
    QCOMPARE(app().startupWindow().intCoBrandRandomNumber, number);
    auto *frame = AppFixture::child<QFrame>(app().openMainWindow(), "Frame5");
    QCOMPARE(frame->childAt(QPoint(30, 20))->objectName(), inFront);
}

void TestLife::exitFromTheMainWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit button") << "cmdExit";
    QTest::newRow("File Exit") << "mnuExit";
    QTest::newRow("title bar") << "close";
}

void TestLife::exitFromTheMainWindow()
{
    QFETCH(QString, how);
    startApp();
    quendril::windows::frmMain *main = app().openMainWindow();
    if (how == "cmdExit")
        AppFixture::child<QPushButton>(main, "cmdExit")->click();
    else if (how == "mnuExit")
        AppFixture::child<QAction>(main, "mnuExit")->trigger();
    else
        main->close();
    AppFixture::settle();

    QVERIFY(!app().openMainWindow());
    QCOMPARE(visibleWindows(), QStringList({ "frmNagScreen2" }));
    QVERIFY(app().openExitScreen()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f->platform.endRequests.isEmpty());

    AppFixture::child<QPushButton>(app().openExitScreen(), "cmdClose")->click();
    QCOMPARE(f->platform.endRequests, QList<int>({ 0 }));
    AppFixture::settle();
    QVERIFY(visibleWindows().isEmpty());
    QVERIFY(!app().openExitScreen());
}

void TestLife::exitFromTheResultWindow()
{
    startApp();
    pressFindObject("123456789");
    AppFixture::child<QAction>(app().openResultWindow(), "mnuExit")->trigger();
    AppFixture::settle();
    QVERIFY(!app().openResultWindow());
    QCOMPARE(visibleWindows(), QStringList({ "frmNagScreen2" }));
    // The main window stays open, hidden, until the end.
    QVERIFY(app().openMainWindow() && app().openMainWindow()->isHidden());

    AppFixture::child<QPushButton>(app().openExitScreen(), "cmdClose")->click();
    AppFixture::settle();
    QCOMPARE(f->platform.endRequests, QList<int>({ 0 }));
    QVERIFY(!app().openMainWindow());
    QVERIFY(visibleWindows().isEmpty());
}

void TestLife::backThenExit()
{
    startApp();
    pressFindObject("123456789");
    AppFixture::child<QPushButton>(app().openResultWindow(), "cmdBack")->click();
    AppFixture::settle();
    QCOMPARE(visibleWindows(), QStringList({ "frmMain" }));
    AppFixture::child<QPushButton>(app().openMainWindow(), "cmdExit")->click();
    AppFixture::settle();
    // Only the exit screen is open now (beside the hidden start-up window).
    QCOMPARE(visibleWindows(), QStringList({ "frmNagScreen2" }));
    QVERIFY(!app().openMainWindow() && !app().openResultWindow());
}

void TestLife::exitScreenCloseBoxEndsLikeExit()
{
    startApp();
    pressFindObject("123456789");
    AppFixture::child<QPushButton>(app().openResultWindow(), "cmdExit")->click();
    app().openExitScreen()->close();
    AppFixture::settle();
    QCOMPARE(f->platform.endRequests, QList<int>({ 0 }));
    QVERIFY(!app().openMainWindow() && !app().openExitScreen() && !app().openResultWindow());
    QVERIFY(app().startupWindow().isClosing());
    QVERIFY(app().ended());
}

void TestLife::endWithTheAboutBoxOpen()
{
    startApp();
    bool aboutWasOpen = false;
    QTimer::singleShot(0, this, [&] {
        aboutWasOpen = app().openAboutBox() != nullptr;
        app().EndApplication();
    });
    AppFixture::child<QAction>(app().openMainWindow(), "mnuAbout")->trigger();
    AppFixture::settle();
    QVERIFY(aboutWasOpen);
    QCOMPARE(f->platform.endRequests, QList<int>({ 0 }));
    QVERIFY(!app().openAboutBox() && !app().openMainWindow());
    // Closing the main window while ending does not bring up the exit screen:
    // it was never loaded (its load draws an appeal).
    QVERIFY(!app().openExitScreen());
    QCOMPARE(f->platform.events.count("random"), 1);
    QVERIFY(visibleWindows().isEmpty());
}

void TestLife::endFromTheStartupWindowCreatesNothing()
{
    startApp();
    pressFindObject("123456789");
    app().startupWindow().close();
    AppFixture::settle();
    QCOMPARE(f->platform.endRequests, QList<int>({ 0 }));
    QVERIFY(visibleWindows().isEmpty());
    QVERIFY(!app().openMainWindow() && !app().openResultWindow() && !app().openExitScreen());
    // Nothing that comes later can bring a window back or end twice.
    app().EndApplication();
    app().showExitScreen();
    QCOMPARE(f->platform.endRequests, QList<int>({ 0 }));
    QVERIFY(!app().openExitScreen());
}

QTEST_MAIN(TestLife)
#include "tst_life.moc"
