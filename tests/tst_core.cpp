#include "core/entry_rules.h"
#include "core/reading.h"

#include <QtTest>

namespace core = quendril::core;

class TestCore : public QObject {
    Q_OBJECT

private slots:
    void keyFilter_data();
    void keyFilter();
    void entryRules_data();
    void entryRules();
    void readingsOfKnownEntries_data();
    void readingsOfKnownEntries();
    void everyReachableNumberLandsOnItsSlot();
    void nonDigitsGiveNoReading_data();
    void nonDigitsGiveNoReading();
    void tableAndState();
};

void TestCore::keyFilter_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("passes");
    for (int c = '0'; c <= '9'; ++c)
        QTest::addRow("digit %c", c) << c << true;
    QTest::newRow("code 0") << 0 << true;
    QTest::newRow("code 9 (tab)") << 9 << true;
    QTest::newRow("ctrl+c copy") << 3 << true;
    QTest::newRow("backspace") << 8 << true;
    QTest::newRow("enter") << 13 << true;
    QTest::newRow("space") << 32 << true;
    QTest::newRow("line feed") << 10 << false;
    QTest::newRow("ctrl+v paste") << 22 << false;
    QTest::newRow("ctrl+x cut") << 24 << false;
    QTest::newRow("ctrl+z undo") << 26 << false;
    QTest::newRow("escape") << 27 << false;
    QTest::newRow("code 31") << 31 << false;
    QTest::newRow("letter a") << int('a') << false;
    QTest::newRow("letter Z") << int('Z') << false;
    QTest::newRow("minus") << int('-') << false;
    QTest::newRow("full stop") << int('.') << false;
    QTest::newRow("slash, just below 0") << int('/') << false;
    QTest::newRow("colon, just above 9") << int(':') << false;
    QTest::newRow("delete") << 127 << false;
    QTest::newRow("negative") << -1 << false;
    QTest::newRow("arabic-indic digit") << 0x0663 << false;
}

void TestCore::keyFilter()
{
    QFETCH(int, code);
    QFETCH(bool, passes);
    QCOMPARE(core::keyCodePasses(static_cast<std::int16_t>(code)), passes);
}

void TestCore::entryRules_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");

    const QString zeros = QStringLiteral("You Can't Enter More Than Three Zeros!");
    const QString shortEntry = QStringLiteral("Please Enter A 9 Digit Numbers!");
    const QString same = QStringLiteral("You Can't Enter Same Digit Numbers!");

    QTest::newRow("empty") << ""
                           << "Please Enter Number !";
    // Zeros are counted before the length is looked at.
    QTest::newRow("four zeros, short") << "0000" << zeros;
    QTest::newRow("three zeros, short") << "000" << shortEntry;
    QTest::newRow("eight digits") << "12345678" << shortEntry;
    QTest::newRow("one space") << " " << shortEntry;
    QTest::newRow("six zeros") << "100200300" << zeros;
    QTest::newRow("nine zeros never reach the same-digit rule") << "000000000" << zeros;
    QTest::newRow("zeros past position nine do not count") << "123456789000"
                                                           << "";
    QTest::newRow("three zeros") << "000111111"
                                 << "";
    QTest::newRow("nine ones") << "111111111" << same;
    QTest::newRow("nine spaces") << "         " << same;
    QTest::newRow("eight ones and a two") << "111111112"
                                          << "";
    QTest::newRow("pairs") << "112233445"
                           << "";
    QTest::newRow("largest") << "999999998"
                             << "";
    QTest::newRow("space in the middle") << "1234 5678"
                                         << "";
    QTest::newRow("tenth character differs") << "1111111112" << same;
    QTest::newRow("typical") << "123456789"
                             << "";
}

void TestCore::entryRules()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    const core::EntryVerdict verdict = core::checkEntry(entry);
    QCOMPARE(core::entryMessage(verdict), message);
    QCOMPARE(verdict == core::EntryVerdict::Accepted, message.isEmpty());
}

void TestCore::readingsOfKnownEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");

    const QString damaged = QStringLiteral("It may not be found and even if it is found it will be badly damaged.");
    QTest::newRow("typical") << "123456789" << 49 << damaged;
    QTest::newRow("reversed") << "987654321" << 49 << damaged;
    QTest::newRow("smallest") << "000111111" << 10 << "It will be in your main room.";
    QTest::newRow("largest") << "999999998" << 84 << "It will be found in some box or case.";
    QTest::newRow("fourteen") << "111111112" << 14 << "The object may not be found.It may be under some cap or hat.";
    QTest::newRow("seventy-one") << "999999931" << 71 << "It is somewhere close to you.";
    QTest::newRow("only nine characters count") << "1234567891" << 49 << damaged;
}

void TestCore::readingsOfKnownEntries()
{
    QFETCH(QString, entry);
    QFETCH(int, number);
    QFETCH(QString, text);
    core::ReadingState state;
    const auto reading = core::computeReading(entry, state);
    QVERIFY(reading);
    QCOMPARE(reading->number, number);
    QCOMPARE(reading->text, text);
    QCOMPARE(state.ReadingNumber, number);
}

// Builds, for every digit sum an accepted entry can have, an entry with that
// sum, and checks that the rules accept it and that it lands on its slot.
void TestCore::everyReachableNumberLandsOnItsSlot()
{
    core::ReadingTexts table;
    core::FillReadingTable(table);
    core::ReadingState state;
    for (int sum = 6; sum <= 80; ++sum) {
        // Start from 000111111 (sum 6) and raise digits from the right.
        int digits[9] = { 0, 0, 0, 1, 1, 1, 1, 1, 1 };
        int remaining = sum - 6;
        for (int position = 8; position >= 0 && remaining > 0; --position) {
            const int raise = std::min(9 - digits[position], remaining);
            digits[position] += raise;
            remaining -= raise;
        }
        QString entry;
        for (int digit : digits)
            entry += QChar(u'0' + digit);
        QCOMPARE(remaining, 0);
        QVERIFY2(core::checkEntry(entry) == core::EntryVerdict::Accepted, qPrintable(entry));
        const auto reading = core::computeReading(entry, state);
        QVERIFY(reading);
        QCOMPARE(reading->number, sum + 4);
        QCOMPARE(reading->text, table[static_cast<std::size_t>(sum + 4)]);
        QVERIFY(!reading->text.isEmpty());
    }
}

void TestCore::nonDigitsGiveNoReading_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("space inside") << "1234 5678";
    QTest::newRow("letter") << "12345678a";
    QTest::newRow("minus") << "-12345678";
    QTest::newRow("full-width digit") << QStringLiteral("12345678\uFF19");
    QTest::newRow("arabic-indic digit") << QStringLiteral("\u0663") + "12345678";
    QTest::newRow("nul") << QString::fromLatin1("1234\0"
                                                "5678",
        9);
    QTest::newRow("too short") << "12345678";
}

void TestCore::nonDigitsGiveNoReading()
{
    QFETCH(QString, entry);
    core::ReadingState state;
    QVERIFY(!core::computeReading(entry, state));
}

void TestCore::tableAndState()
{
    core::ReadingTexts table;
    core::FillReadingTable(table);
    QVERIFY(table[0].isEmpty());
    QCOMPARE(table[4], table[71]);
    QCOMPARE(table[1], QStringLiteral("Look in a room where there is a white bed sheet."));
    for (std::size_t slot = 1; slot < table.size(); ++slot)
        QVERIFY2(!table[slot].isEmpty() && table[slot].endsWith(u'.'), qPrintable(QString::number(slot)));

    // A second reading replaces everything of the first.
    core::ReadingState state;
    QCOMPARE(core::computeReading(u"123456789", state)->number, 49);
    const auto second = core::computeReading(u"111111112", state);
    QCOMPARE(second->number, 14);
    QCOMPARE(state.ReadingNumber, 14);
    QCOMPARE(state.DigitValue, 2);
}

QTEST_GUILESS_MAIN(TestCore)
#include "tst_core.moc"
