#include "app/cobrand.h"

#include <QtTest>

#include <array>
#include <cmath>
#include <cstdint>

namespace app = quendril::app;

Q_DECLARE_METATYPE(quendril::app::OfferInFront)

class TestCoBrand : public QObject {
    Q_OBJECT

private slots:
    void numberOfADraw_data();
    void numberOfADraw();
    void offerInFront_data();
    void offerInFront();
    void everyDrawOfTheGenerator();
};

void TestCoBrand::numberOfADraw_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("number");
    QTest::newRow("0 gives 1") << 0.0f << 1;
    QTest::newRow("smallest draw above 0") << std::ldexp(1.0f, -24) << 1;
    // 1/12 and 5/12 have no exact float; the nearest ones lie just off 1.5 and 3.5.
    QTest::newRow("1/12: just above 1.5 gives 2") << 1.0f / 12.0f << 2;
    QTest::newRow("5/12: just below 3.5 gives 3") << 5.0f / 12.0f << 3;
    QTest::newRow("1/6 gives 2") << 1.0f / 6.0f << 2;
    QTest::newRow("0.25: 2.5 goes down to 2") << 0.25f << 2;
    QTest::newRow("just above 0.25") << std::nextafter(0.25f, 1.0f) << 3;
    QTest::newRow("just below 0.25") << std::nextafter(0.25f, 0.0f) << 2;
    QTest::newRow("0.5 gives 4") << 0.5f << 4;
    QTest::newRow("draw 9786710: 4.50000024 gives 5") << std::ldexp(9786710.0f, -24) << 5;
    QTest::newRow("draw 9786709: 4.49999988 gives 4") << std::ldexp(9786709.0f, -24) << 4;
    QTest::newRow("0.75: 5.5 goes up to 6") << 0.75f << 6;
    QTest::newRow("just below 0.75") << std::nextafter(0.75f, 0.0f) << 5;
    QTest::newRow("just above 0.75") << std::nextafter(0.75f, 1.0f) << 6;
    QTest::newRow("11/12: 6.50000012 gives 7") << 11.0f / 12.0f << 7;
    QTest::newRow("just below 11/12: 6.49999976 gives 6") << std::nextafter(11.0f / 12.0f, 0.0f) << 6;
    QTest::newRow("0.95 gives 7") << 0.95f << 7;
    QTest::newRow("largest draw below 1") << std::nextafter(1.0f, 0.0f) << 7;
}

void TestCoBrand::numberOfADraw()
{
    QFETCH(float, r);
    QFETCH(int, number);
    QCOMPARE(int(app::coBrandNumber(r)), number);
}

void TestCoBrand::offerInFront_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<app::OfferInFront>("offer");
    QTest::newRow("1") << 1 << app::OfferInFront::CoBrand;
    QTest::newRow("2") << 2 << app::OfferInFront::FullyBranded;
    QTest::newRow("3") << 3 << app::OfferInFront::CoBrand;
    QTest::newRow("4") << 4 << app::OfferInFront::FullyBranded;
    QTest::newRow("5") << 5 << app::OfferInFront::CoBrand;
    QTest::newRow("6") << 6 << app::OfferInFront::FullyBranded;
    QTest::newRow("7") << 7 << app::OfferInFront::DesignerOrder;
}

void TestCoBrand::offerInFront()
{
    QFETCH(int, number);
    QFETCH(app::OfferInFront, offer);
    QCOMPARE(quendril::app::offerInFront(static_cast<std::int16_t>(number)), offer);
}

// The generator gives k / 2^24 for k in 0 .. 2^24 - 1. Each of these draws is
// checked against r × 6 + 1 rounded in exact arithmetic, and the counts of
// the seven numbers against their shares: 1 and 7 take half a unit of r × 6
// each, 2 to 6 a whole unit.
void TestCoBrand::everyDrawOfTheGenerator()
{
    constexpr std::int64_t draws = std::int64_t(1) << 24;
    std::array<std::int64_t, 8> counts {};
    for (std::int64_t k = 0; k < draws; ++k) {
        const float r = std::ldexp(static_cast<float>(k), -24);
        const int number = app::coBrandNumber(r);
        QVERIFY2(number >= 1 && number <= 7, qPrintable(QString::number(k)));

        // r × 6 + 1 = (6k + 2^24) / 2^24, rounded with halves to the even neighbour.
        const std::int64_t numerator = 6 * k + draws;
        std::int64_t exact = numerator / draws;
        const std::int64_t twiceRest = 2 * (numerator % draws);
        if (twiceRest > draws || (twiceRest == draws && exact % 2 != 0))
            ++exact;
        if (number != exact) {
            QFAIL(qPrintable(QStringLiteral("draw %1/2^24 (r = %2): got %3, r x 6 + 1 = %4 rounds to %5")
                                 .arg(k)
                                 .arg(double(r), 0, 'g', 17)
                                 .arg(number)
                                 .arg(double(numerator) / double(draws), 0, 'g', 17)
                                 .arg(exact)));
        }
        ++counts[std::size_t(number)];
    }

    for (int number = 1; number <= 7; ++number) {
        const double share = (number == 1 || number == 7) ? 1.0 / 12.0 : 1.0 / 6.0;
        const double expected = share * double(draws);
        QVERIFY2(std::abs(double(counts[std::size_t(number)]) - expected) <= 1.0,
            qPrintable(QStringLiteral("%1: %2 draws, expected %3")
                           .arg(number)
                           .arg(counts[std::size_t(number)])
                           .arg(expected)));
    }
}

QTEST_GUILESS_MAIN(TestCoBrand)
#include "tst_cobrand.moc"
